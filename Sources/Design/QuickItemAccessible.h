#pragma once

// What a screen reader gets of a Quick item: Qt's own reading, which in this Qt never says that
// a control is disabled (and QML cannot say it either), with the disabled state added for an
// item that is not enabled, itself or through a parent, the focused state only on the one item
// that has the keyboard focus, and a press that presses a button.
class QuickItemAccessible
{
public:
    // Puts this reading in place of Qt's for every Quick item read after the call.
    static void install();
    static void uninstall();
};
