#include "AncestorWatcher.h"

#include <QQuickWindow>

namespace {

class ProviderSignal : public QObject
{
    Q_OBJECT
Q_SIGNALS:
    void changed();
};

ProviderSignal *providerSignal()
{
    static ProviderSignal *signal = new ProviderSignal;
    return signal;
}

// A popup's visual item hangs under the window overlay; values flow from where it was declared,
// which is not its `parent` when that was set to the overlay itself.
QQuickItem *popupDeclarer(QQuickItem *popupItem)
{
    for (QObject *o = popupItem; o; o = o->parent()) {
        if (o->inherits("QQuickPopup")) {
            if (auto *declarer = qobject_cast<QQuickItem *>(o->parent()))
                return declarer;
            return qobject_cast<QQuickItem *>(o->property("parent").value<QObject *>());
        }
    }
    return nullptr;
}

} // namespace

AncestorWatcher::AncestorWatcher(QQuickItem *item, QObject *parent)
    : QObject(parent)
    , m_item(item)
{
    connect(providerSignal(), &ProviderSignal::changed, this, &AncestorWatcher::chainChanged);
    rewire();
}

QQuickItem *AncestorWatcher::nextAncestor(QQuickItem *item)
{
    if (!item)
        return nullptr;
    if (item->inherits("QQuickPopupItem")) {
        if (QQuickItem *declarer = popupDeclarer(item))
            return declarer;
    }
    if (QQuickItem *parent = item->parentItem())
        return parent;
    if (QQuickWindow *window = item->window(); window && window->contentItem() == item)
        return qobject_cast<QQuickItem *>(window->parent());
    return nullptr;
}

QList<QQuickItem *> AncestorWatcher::ancestors() const
{
    QList<QQuickItem *> chain;
    for (QQuickItem *a = m_item ? nextAncestor(m_item) : nullptr; a; a = nextAncestor(a))
        chain.append(a);
    return chain;
}

void AncestorWatcher::providersChanged()
{
    Q_EMIT providerSignal()->changed();
}

void AncestorWatcher::providerGoing()
{
    // A provider goes away while items around it may be half destroyed: look again later.
    QMetaObject::invokeMethod(providerSignal(), &ProviderSignal::changed, Qt::QueuedConnection);
}

void AncestorWatcher::rewire()
{
    for (const QMetaObject::Connection &link : std::as_const(m_links))
        disconnect(link);
    m_links.clear();
    if (!m_item)
        return;
    auto relink = [this] {
        rewire();
        Q_EMIT chainChanged();
    };
    for (QQuickItem *a = m_item; a; a = nextAncestor(a)) {
        m_links.append(connect(a, &QQuickItem::parentChanged, this, relink));
        m_links.append(connect(a, &QQuickItem::windowChanged, this, relink));
    }
}

#include "AncestorWatcher.moc"
