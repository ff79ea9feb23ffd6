#include "ProjectBytesDecoder.h"

#include "Utils/Json.h"

#include <simdjson.h>

#include <array>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string_view>
#include <vector>

namespace od = simdjson::ondemand;

namespace {

// Thrown inside the decoder only: the document is not read here, the caller's reader says why.
struct NotRead
{};

[[noreturn]] void notRead()
{
    throw NotRead{};
}

template<typename T>
T take(simdjson::simdjson_result<T> &&result)
{
    T value;
    if (std::move(result).get(value) != simdjson::SUCCESS)
        notRead();
    return value;
}

QString text(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

// One text shared by every record that holds it. A few distinct values per field are expected;
// past the limit new texts are simply not shared.
class Interned
{
public:
    QString get(std::string_view bytes)
    {
        for (const Entry &entry : m_entries) {
            if (entry.bytes == bytes)
                return entry.text;
        }
        QString shared = text(bytes);
        if (m_entries.size() < 32)
            m_entries.push_back(Entry{std::string(bytes), shared});
        return shared;
    }

private:
    struct Entry
    {
        std::string bytes;
        QString text;
    };
    std::vector<Entry> m_entries;
};

// The key's characters as written; an escaped key is unescaped.
std::string_view keyOf(od::field &field)
{
    const char *raw = field.key().raw();
    const char *end = raw;
    while (*end != '"') {
        if (*end == '\\')
            return take(field.unescaped_key());
        ++end;
    }
    return std::string_view(raw, size_t(end - raw));
}

// Calls visit(key, value) for each field of an object, in the order written.
template<typename Visit>
void forEachField(od::value &object, Visit visit)
{
    for (auto result : take(object.get_object())) {
        od::field field = take(std::move(result));
        const std::string_view key = keyOf(field);
        od::value value = field.value();
        visit(key, value);
    }
}

// Numbers as Qt reads them: integers that fit in 64 bits exactly, the rest as a double; a number
// that would not be finite is refused by the parser.
double number(od::value &value)
{
    od::number n = take(value.get_number());
    switch (n.get_number_type()) {
    case od::number_type::signed_integer:
        return double(n.get_int64());
    case od::number_type::unsigned_integer:
        return double(n.get_uint64());
    case od::number_type::floating_point_number:
        break;
    }
    // Qt refuses a number that rounds to zero or below the normal range, and the rare written
    // zero of that kind ("0.0") is left to it as well.
    const double d = n.get_double();
    if (!std::isfinite(d) || std::abs(d) < std::numeric_limits<double>::min())
        notRead();
    return d;
}

// A whole number within 64 bits, as JsonReader::wholeNumber reads it.
qint64 wholeNumber(od::value &value)
{
    od::number n = take(value.get_number());
    if (n.get_number_type() == od::number_type::signed_integer)
        return n.get_int64();
    if (n.get_number_type() == od::number_type::unsigned_integer)
        notRead();
    const double d = n.get_double();
    if (!std::isfinite(d) || std::trunc(d) != d || d < -9223372036854775808.0 || d >= 9223372036854775808.0)
        notRead();
    return qint64(d);
}

bool isNull(od::value &value)
{
    return take(value.type()) == od::json_type::null && take(value.is_null());
}

std::string_view string(od::value &value)
{
    if (take(value.type()) != od::json_type::string)
        notRead();
    return take(value.get_string());
}

bool boolean(od::value &value)
{
    if (take(value.type()) != od::json_type::boolean)
        notRead();
    return take(value.get_bool());
}

// A value of a key the records do not hold: read through anyway, so that anything Qt's parser
// refuses in it is refused here too.
void skip(od::value value)
{
    switch (take(value.type())) {
    case od::json_type::object:
        forEachField(value, [](std::string_view, od::value &field) { skip(field); });
        break;
    case od::json_type::array:
        for (auto element : take(value.get_array()))
            skip(take(std::move(element)));
        break;
    case od::json_type::number:
        number(value);
        break;
    case od::json_type::string:
        take(value.get_string());
        break;
    case od::json_type::boolean:
        take(value.get_bool());
        break;
    case od::json_type::null:
        if (!take(value.is_null()))
            notRead();
        break;
    }
}

// Each known key at most once: a repeated key is left to Qt's reading.
class Seen
{
public:
    void mark(int field)
    {
        const quint32 bit = quint32(1) << field;
        if (m_bits & bit)
            notRead();
        m_bits |= bit;
    }
    // Every one of the fields was there.
    void require(std::initializer_list<int> fields) const
    {
        for (const int field : fields) {
            if (!(m_bits & (quint32(1) << field)))
                notRead();
        }
    }

private:
    quint32 m_bits = 0;
};

// Nothing but blanks follows the value just read.
bool atEnd(od::document &document)
{
    const char *location = nullptr;
    return document.current_location().get(location) == simdjson::OUT_OF_BOUNDS;
}

bool equals(std::string_view key, const char *name)
{
    return key == std::string_view(name);
}

} // namespace

struct ProjectBytesDecoder::State
{
    od::parser parser;
    std::vector<char> padded;
    Interned categories;
    Interned currencies;
    Interned owners;
    Interned projectTypes;
    Interned dates;

    ProjectItem item(od::value value);
    Project project(od::value value);
    od::document iterate(const QByteArray &bytes);
};

ProjectItem ProjectBytesDecoder::State::item(od::value value)
{
    enum { Title, Description, Category, Hours, Rate, IsLocked, Done };
    ProjectItem item;
    Seen seen;
    forEachField(value, [&](std::string_view key, od::value &v) {
        if (equals(key, "title")) {
            seen.mark(Title);
            item.title = text(string(v));
        } else if (equals(key, "description")) {
            seen.mark(Description);
            if (!isNull(v))
                item.description = text(string(v));
        } else if (equals(key, "category")) {
            seen.mark(Category);
            item.category = categories.get(string(v));
        } else if (equals(key, "hours")) {
            seen.mark(Hours);
            item.hours = number(v);
        } else if (equals(key, "rate")) {
            seen.mark(Rate);
            item.rate = number(v);
        } else if (equals(key, "isLocked")) {
            seen.mark(IsLocked);
            item.isLocked = boolean(v);
        } else if (equals(key, "done")) {
            seen.mark(Done);
            if (!isNull(v))
                item.done = boolean(v);
        } else {
            skip(v);
        }
    });
    seen.require({Title, Category, Hours, Rate, IsLocked});
    return item;
}

Project ProjectBytesDecoder::State::project(od::value value)
{
    enum {
        Id,
        Name,
        ClientName,
        TotalCost,
        TotalHours,
        Currency,
        Status,
        Items,
        DefaultRate,
        TemplateId,
        UserId,
        CreatedAt,
        UpdatedAt,
        ProjectType,
        ParentProjectId,
        BaseProjectId,
        Version,
        IterationName,
        IterationNotes,
        IterationStartedAt
    };
    Project p;
    Seen seen;
    const auto optionalText = [](od::value &v, std::optional<QString> &field) {
        if (!isNull(v))
            field = text(string(v));
    };
    forEachField(value, [&](std::string_view key, od::value &v) {
        if (equals(key, "id")) {
            seen.mark(Id);
            p.id = text(string(v));
        } else if (equals(key, "name")) {
            seen.mark(Name);
            p.name = text(string(v));
        } else if (equals(key, "clientName")) {
            seen.mark(ClientName);
            optionalText(v, p.clientName);
        } else if (equals(key, "totalCost")) {
            seen.mark(TotalCost);
            p.totalCost = number(v);
        } else if (equals(key, "totalHours")) {
            seen.mark(TotalHours);
            p.totalHours = number(v);
        } else if (equals(key, "currency")) {
            seen.mark(Currency);
            p.currency = currencies.get(string(v));
        } else if (equals(key, "status")) {
            seen.mark(Status);
            const std::optional<ProjectStatus> status = projectStatusFromRaw(text(string(v)));
            if (!status)
                notRead();
            p.status = *status;
        } else if (equals(key, "items")) {
            seen.mark(Items);
            if (take(v.type()) != od::json_type::array)
                notRead();
            for (auto element : take(v.get_array()))
                p.items.append(item(take(std::move(element))));
        } else if (equals(key, "defaultRate")) {
            seen.mark(DefaultRate);
            if (!isNull(v))
                p.defaultRate = number(v);
        } else if (equals(key, "templateId")) {
            seen.mark(TemplateId);
            optionalText(v, p.templateId);
        } else if (equals(key, "userId")) {
            seen.mark(UserId);
            p.userId = owners.get(string(v));
        } else if (equals(key, "createdAt")) {
            seen.mark(CreatedAt);
            p.createdAt = text(string(v));
        } else if (equals(key, "updatedAt")) {
            seen.mark(UpdatedAt);
            p.updatedAt = text(string(v));
        } else if (equals(key, "projectType")) {
            seen.mark(ProjectType);
            if (!isNull(v))
                p.projectType = projectTypes.get(string(v));
        } else if (equals(key, "parentProjectId")) {
            seen.mark(ParentProjectId);
            optionalText(v, p.parentProjectId);
        } else if (equals(key, "baseProjectId")) {
            seen.mark(BaseProjectId);
            optionalText(v, p.baseProjectId);
        } else if (equals(key, "version")) {
            seen.mark(Version);
            if (!isNull(v))
                p.version = wholeNumber(v);
        } else if (equals(key, "iterationName")) {
            seen.mark(IterationName);
            optionalText(v, p.iterationName);
        } else if (equals(key, "iterationNotes")) {
            seen.mark(IterationNotes);
            optionalText(v, p.iterationNotes);
        } else if (equals(key, "iterationStartedAt")) {
            seen.mark(IterationStartedAt);
            if (!isNull(v))
                p.iterationStartedAt = dates.get(string(v));
        } else {
            skip(v);
        }
    });
    seen.require({Id, Name, TotalCost, TotalHours, Currency, Status, Items, UserId, CreatedAt, UpdatedAt});
    return p;
}

od::document ProjectBytesDecoder::State::iterate(const QByteArray &bytes)
{
    // The parser reads a little past the end of the text: the bytes are copied into a padded buffer.
    const size_t size = size_t(bytes.size());
    if (padded.size() < size + simdjson::SIMDJSON_PADDING)
        padded.resize(size + simdjson::SIMDJSON_PADDING);
    std::memcpy(padded.data(), bytes.constData(), size);
    std::memset(padded.data() + size, 0, simdjson::SIMDJSON_PADDING);
    od::document document;
    if (parser.iterate(padded.data(), size, padded.size()).get(document) != simdjson::SUCCESS)
        notRead();
    return document;
}

ProjectBytesDecoder::ProjectBytesDecoder()
    : m_state(std::make_unique<State>())
{
}

ProjectBytesDecoder::~ProjectBytesDecoder() = default;

std::optional<Project> ProjectBytesDecoder::directProject(const QByteArray &bytes)
{
    try {
        od::document document = m_state->iterate(bytes);
        if (take(document.type()) != od::json_type::object)
            return std::nullopt;
        Project result = m_state->project(take(document.get_value()));
        if (!atEnd(document))
            return std::nullopt;
        return result;
    } catch (const NotRead &) {
        return std::nullopt;
    }
}

std::optional<QList<Project>> ProjectBytesDecoder::directList(const QByteArray &bytes)
{
    try {
        od::document document = m_state->iterate(bytes);
        if (take(document.type()) != od::json_type::array)
            return std::nullopt;
        QList<Project> result;
        for (auto element : take(document.get_array()))
            result.append(m_state->project(take(std::move(element))));
        if (!atEnd(document))
            return std::nullopt;
        return result;
    } catch (const NotRead &) {
        return std::nullopt;
    }
}

Project ProjectBytesDecoder::project(const QByteArray &bytes)
{
    if (std::optional<Project> direct = directProject(bytes))
        return std::move(*direct);
    return Project::fromJson(Json::parse(bytes));
}

QList<Project> ProjectBytesDecoder::list(const QByteArray &bytes)
{
    if (std::optional<QList<Project>> direct = directList(bytes))
        return std::move(*direct);
    return Project::listFromJson(Json::parse(bytes));
}
