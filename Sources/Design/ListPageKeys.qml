import QtQuick

// Home, End, Page Up and Page Down over a long list that makes its rows as they come into sight
// (a ListView, or a view with the same itemAtIndex and positionViewAtIndex), as desktop lists
// take them: the first row, the last one, or the row a page away. The list moves its keys to the
// row itself, and shows it.
QtObject {
    id: paging

    required property Item view
    // Rows side by side (a grid's columns): a page keeps the column.
    property int columns: 1

    // The row the key takes the keys to from `current` among `count` rows; -1 for another key, a
    // key with a modifier, or a list without rows.
    function rowFor(event, current, count) {
        if (count <= 0 || (event.modifiers & ~Qt.KeypadModifier) !== Qt.NoModifier)
            return -1
        const from = Math.max(0, Math.min(count - 1, current))
        switch (event.key) {
        case Qt.Key_Home:
            return 0
        case Qt.Key_End:
            return count - 1
        case Qt.Key_PageDown:
            return paging.pageAway(from, count, 1)
        case Qt.Key_PageUp:
            return paging.pageAway(from, count, -1)
        }
        return -1
    }

    // The row a page away: with the current row at the view's edge, the furthest one wholly in
    // sight beyond it (a list knows the heights of the rows it has made only); at least the next.
    function pageAway(current, count, direction) {
        const view = paging.view
        const step = direction * Math.max(1, paging.columns)
        view.positionViewAtIndex(current, direction > 0 ? ListView.Beginning : ListView.End)
        let target = current
        for (let row = current + step; row >= 0 && row < count; row += step) {
            const item = view.itemAtIndex(row)
            const top = item !== null ? item.mapToItem(view, 0, 0).y : -1
            if (item === null || top < 0 || top + item.height > view.height)
                break
            target = row
        }
        if (target === current)
            target = current + step
        return Math.max(0, Math.min(count - 1, target))
    }
}
