#pragma once

#include <QUrl>

class QCoreApplication;
class QQmlEngine;

// What the application sets up before its window loads, in one place for the entry and for the
// tests that open the window as the entry does.
namespace AppStart {

// The application's names (its settings and store are found by them), the Russian locale with
// Qt's own texts in Russian, the accessible layer of the controls, and the bundled fonts, which
// are there before any text is laid out.
void prepare(QCoreApplication &app);

// The engine finds the application's QML modules and speaks the locale's language.
void prepareEngine(QQmlEngine &engine);

// The window's QML.
QUrl window();

} // namespace AppStart
