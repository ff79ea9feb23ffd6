#pragma once

#include <QString>
#include <array>
#include <optional>

// Where a new iteration's lines come from: the estimate stored on the server, the lines of the
// open editor, or none.
enum class IterationSource { Server, Form, Empty };

inline constexpr std::array<IterationSource, 3> allIterationSources{IterationSource::Server, IterationSource::Form,
                                                                    IterationSource::Empty};

QString rawValue(IterationSource source);
std::optional<IterationSource> iterationSourceFromRaw(const QString &raw);
QString label(IterationSource source);
// formHasLines: whether the editor handed over at least one line (the form source's hint says so).
QString hint(IterationSource source, bool formHasLines);
