#pragma once

// What a screen reader gets of a Quick item: Qt's own reading, which in this Qt never says that
// a control is disabled, that a popup is modal or that a drop-down is open (and QML cannot say
// it either), with these states added: disabled for an item that is not enabled, itself or
// through a parent; modal for the item of a modal popup or a dialog that AccessibleState calls
// modal; expandable and expanded or collapsed as the item's AccessibleState says; and the role
// that AccessibleState gives it, which Qt's controls do not overwrite. A popup without a name
// reads by its `title` property. Only the one item that has the keyboard focus reads as focused,
// and a press presses a button. A field that hides what is typed reads its bullets alone; the
// content of a list (any Flickable) reads top to bottom as drawn, and a row the list took away
// into its pool is gone, announced as hidden. What a person cannot see (a row the list keeps
// undrawn, content scrolled out of the views that clip it, or all but a pixel's sliver of it) reads
// as not shown, though a field whose caption is in sight shows. While a modal popup (a sheet, a
// question, a picker) is open, what lies under it is out of the tree and reads as not shown, as it
// is out of the pointer's reach; it comes back when the popup closes. A scroll bar is there only
// while drawn, named after what it scrolls when it has no name of its own; only controls that the
// keys reach read as focusable, never a label. A text drawn reads as its words (without markup)
// though nothing in QML said so, unless it is set to be ignored or the item it stands in (a
// button, a row named by its texts, a card by its figures) already reads them, whatever the
// punctuation between; so does a label declared as one; a glyph of the icon font is no text. The
// window reads its content the same way.
class QuickItemAccessible
{
public:
    // Puts this reading in place of Qt's for every Quick item read after the call.
    static void install();
    static void uninstall();
};
