#pragma once

#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Tessmark_DesignPlugin)

// The module's QML files are compiled in under this prefix.
inline void addDesignImportPath(QQmlEngine *engine)
{
    engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
}
