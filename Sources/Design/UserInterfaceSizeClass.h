#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The horizontal size class a reader is told about; Unspecified stands for none, so that the
// width alone decides.
namespace UserInterfaceSizeClass {
Q_NAMESPACE
QML_NAMED_ELEMENT(SizeClass)

enum Value { Unspecified, Compact, Regular };
Q_ENUM_NS(Value)
} // namespace UserInterfaceSizeClass
