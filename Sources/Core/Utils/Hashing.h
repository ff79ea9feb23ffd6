#pragma once

#include <QHash>
#include <QList>
#include <optional>
#include <type_traits>

// Field-by-field hashing for records whose equality compares numbers by value: zero and
// negative zero must hash alike, and an absent optional must differ from a present one.
namespace Hashing {

inline size_t mix(size_t seed, size_t hash) noexcept
{
    return seed ^ (hash + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

inline size_t hashValue(double value, size_t seed) noexcept
{
    return qHash(value == 0.0 ? 0.0 : value, seed);
}

template<typename T>
size_t hashValue(const T &value, size_t seed)
{
    if constexpr (std::is_enum_v<T>)
        return qHash(static_cast<std::underlying_type_t<T>>(value), seed);
    else
        return qHash(value, seed);
}

template<typename T>
size_t hashValue(const std::optional<T> &value, size_t seed)
{
    return value ? mix(1, hashValue(*value, seed)) : mix(0, seed);
}

template<typename T>
size_t hashValue(const QList<T> &list, size_t seed)
{
    size_t h = mix(seed, static_cast<size_t>(list.size()));
    for (const T &element : list)
        h = mix(h, hashValue(element, seed));
    return h;
}

template<typename... Fields>
size_t combine(size_t seed, const Fields &...fields)
{
    size_t h = seed;
    ((h = mix(h, hashValue(fields, seed))), ...);
    return h;
}

} // namespace Hashing
