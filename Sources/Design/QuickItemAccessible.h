#pragma once

// What a screen reader gets of a Quick item: Qt's own reading, which in this Qt never says that
// a control is disabled (and QML cannot say it either), with the disabled state added for an
// item that is not enabled, itself or through a parent; the unfolding states set through
// AccessibleState; and the modal state of a popup that blocks the window under it.
class QuickItemAccessible
{
public:
    // Puts this reading in place of Qt's for every Quick item read after the call.
    static void install();
    static void uninstall();
};
