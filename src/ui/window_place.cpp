// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_place.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <limits>

namespace zemo::ui {

namespace {

// The outer size a window was given before the window manager told how thick its frame is.
constexpr char kPendingFrame[] = "zemoPendingFrameSize";
// The inside size it was given with it; a window resized since has its new size as its own.
constexpr char kPendingInside[] = "zemoPendingInsideSize";

QVariant pendingFrame(const QWidget* window) {
    const QVariant pending = window->property(kPendingFrame);
    if (pending.isValid() && window->property(kPendingInside).toSize() == window->size()) return pending;
    return {};
}
// The window that was active when a window was shown; it gets the focus back when that one goes.
constexpr char kOpener[] = "zemoOpener";
// When a window was last shown, in the order of showing.
constexpr char kShownOrder[] = "zemoShownOrder";

QSize frameMargins(const QWidget* window) { return window->frameGeometry().size() - window->size(); }

// Once the frame is known the inside is made smaller by it, so that the outer size is the stored one.
void settlePendingFrame(QWidget* window) {
    const QVariant pending = pendingFrame(window);
    if (!pending.isValid()) {
        window->setProperty(kPendingFrame, QVariant());
        return;
    }
    const QSize margins = frameMargins(window);
    if (margins.isNull()) return;
    window->setProperty(kPendingFrame, QVariant());
    window->resize(pending.toSize() - margins);
}

bool overlapAtLeast(int aFrom, int aTo, int bFrom, int bTo, int need) {
    return std::min(aTo, bTo) - std::max(aFrom, bFrom) >= need;
}

// The title bar can be taken: the top edge lies on the area, with enough of it across.
bool reachable(const QRect& frame, const QRect& area) {
    const int across = std::min(kReachableEdge, frame.width());
    const int down = std::min(kReachableEdge, frame.height());
    return overlapAtLeast(frame.left(), frame.left() + frame.width(), area.left(), area.left() + area.width(), across) &&
           frame.top() >= area.top() && frame.top() + down <= area.top() + area.height();
}

long long distanceSquared(const QRect& a, const QRect& b) {
    const long long dx = std::max({0, b.left() - (a.left() + a.width()), a.left() - (b.left() + b.width())});
    const long long dy = std::max({0, b.top() - (a.top() + a.height()), a.top() - (b.top() + b.height())});
    return dx * dx + dy * dy;
}

QRect fitInto(const QRect& frame, const QRect& area) {
    const QSize size = frame.size().boundedTo(area.size());
    const int left = std::clamp(frame.left(), area.left(), area.left() + area.width() - size.width());
    const int top = std::clamp(frame.top(), area.top(), area.top() + area.height() - size.height());
    return QRect(QPoint(left, top), size);
}

bool isPlainWindow(const QWidget* w) {
    if (!w->isWindow()) return false;
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop:
        return false;
    default:
        return true;
    }
}


// Watches every window of the application as it is shown and hidden.
class FrontKeeper : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::Move && type != QEvent::Resize)
            return false;
        if (!watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (!isPlainWindow(w)) return false;
        if (type == QEvent::Move || type == QEvent::Resize) {
            settlePendingFrame(w);
        } else if (type == QEvent::Show && !event->spontaneous()) {
            shown(w);
        } else if (type == QEvent::Hide && !event->spontaneous()) {
            hidden(w);
        }
        return false;
    }

private:
    unsigned long long shows_ = 0;

    void shown(QWidget* w) {
        w->setProperty(kShownOrder, ++shows_);
        QWidget* opener = QApplication::activeWindow();
        if (opener == w) opener = nullptr;
        w->setProperty(kOpener, QVariant::fromValue(QPointer<QWidget>(opener)));
        // A box made without a parent still belongs to the window it was opened from.
        if (opener && !w->parentWidget() && w->windowHandle() && opener->windowHandle() &&
            !w->windowHandle()->transientParent())
            w->windowHandle()->setTransientParent(opener->windowHandle());
        // After the show has been handled, and again while the window manager maps and frames
        // the window (it may hand the focus to a window mapped meanwhile); never over a window
        // shown after this one.
        const unsigned long long order = shows_;
        for (int ms : {0, 100, 300})
            QTimer::singleShot(ms, w, [w, order] {
                settlePendingFrame(w);
                if (w->property(kShownOrder).toULongLong() != order) return;
                QWidget* active = QApplication::activeWindow();
                if (active == w) return;
                if (active && active->isVisible() && active->property(kShownOrder).toULongLong() > order) return;
                bringForward(w);
            });
    }

    static void hidden(QWidget* w) {
        const QPointer<QWidget> opener = w->property(kOpener).value<QPointer<QWidget>>();
        const unsigned long long order = w->property(kShownOrder).toULongLong();
        w->setProperty(kOpener, QVariant());
        if (!opener || !opener->isVisible()) return;
        QTimer::singleShot(0, opener.data(), [opener, order] {
            // The toolkit or the window manager may have handed the focus to an older window (the
            // parent, the main window); a window opened after this one keeps it.
            QWidget* active = QApplication::activeWindow();
            const bool newer = active && active->isVisible() && active->property(kShownOrder).toULongLong() > order;
            if (opener && !newer) bringForward(opener);
        });
    }
};

}  // namespace

void bringForward(QWidget* window) {
    if (!window->isVisible()) return;
    // The offscreen platform has no stacking to change.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) window->raise();
    window->activateWindow();
}

QRect placeOnScreens(const QRect& frame, const std::vector<QRect>& available) {
    if (available.empty()) return frame;
    for (const QRect& area : available)
        if (reachable(frame, area)) return frame;
    const QRect* nearest = &available.front();
    long long best = std::numeric_limits<long long>::max();
    for (const QRect& area : available) {
        const long long d = distanceSquared(frame, area);
        if (d < best) {
            best = d;
            nearest = &area;
        }
    }
    return fitInto(frame, *nearest);
}

std::vector<QRect> availableScreenAreas() {
    std::vector<QRect> areas;
    for (QScreen* s : QGuiApplication::screens()) areas.push_back(s->availableGeometry());
    return areas;
}

QRect placeBeside(const QRect& frame, const QRect& owner, const QRect& avoid, const QRect& available) {
    if (!frame.intersects(avoid)) return frame;
    const QSize size = frame.size();
    for (const QPoint at : {QPoint(owner.left() + owner.width(), owner.top()), QPoint(owner.left() - size.width(), owner.top())}) {
        const QRect candidate(at, size);
        if (available.contains(candidate)) return candidate;
    }
    const QRect under(QPoint(owner.left() + owner.width() - size.width(), avoid.top() + avoid.height()), size);
    return fitInto(under, available);
}

namespace {

void placeBesideOwner(QWidget* window, QWidget* owner) {
    if (!owner || !owner->isVisible()) return;
    QWidget* tools = owner->findChild<QWidget*>("ToolBar");
    const QRect avoid = tools ? QRect(tools->mapToGlobal(QPoint(0, 0)), tools->size())
                              : QRect(owner->mapToGlobal(QPoint(0, 0)), QSize(owner->width(), 1));
    QScreen* screen = owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : owner->frameGeometry();
    // Before its first show the window's frame is not known; its inside stands for it.
    QRect frame = window->frameGeometry();
    if (!window->isVisible() && frame.size() == window->size()) frame = QRect(window->pos(), window->size());
    const QRect placed = placeBeside(frame, owner->frameGeometry(), avoid, area);
    if (placed.topLeft() != frame.topLeft()) window->move(placed.topLeft());
}

}  // namespace

void showBeside(QWidget* window, QWidget* owner) {
    placeBesideOwner(window, owner);
    window->show();
    bringForward(window);
    // A window manager frames and places the owner only after it is mapped; once it has, the
    // place is looked at again with the owner where it really is.
    QPointer<QWidget> w(window), o(owner);
    for (int ms : {100, 400})
        QTimer::singleShot(ms, window, [w, o] {
            if (w && o && w->isVisible()) placeBesideOwner(w, o);
        });
}

void keepOpenedWindowsInFront(QApplication& app) { app.installEventFilter(new FrontKeeper(&app)); }

void applyPlace(QWidget* window, const WindowPlace& place) {
    const int left = place.left == -1 ? 0 : place.left;
    const int top = place.top == -1 ? 0 : place.top;
    const QSize margins = frameMargins(window);
    const int width = place.width == -1 ? window->width() + margins.width() : place.width;
    const int height = place.height == -1 ? window->height() + margins.height() : place.height;
    const QRect frame = placeOnScreens(QRect(left, top, width, height), availableScreenAreas());
    window->resize(frame.size() - margins);
    // Where the frame is not known yet, the outer size is kept until it is.
    if (margins.isNull() && (place.width != -1 || place.height != -1 || frame.size() != QSize(width, height))) {
        window->setProperty(kPendingFrame, frame.size());
        window->setProperty(kPendingInside, window->size());
    } else
        window->setProperty(kPendingFrame, QVariant());
    window->move(frame.topLeft());
}

WindowPlace currentPlace(const QWidget* window) {
    const QPoint pos = window->pos();
    QSize outer = window->frameGeometry().size();
    if (const QVariant pending = pendingFrame(window); pending.isValid()) outer = pending.toSize();
    return WindowPlace{pos.x(), pos.y(), outer.height(), outer.width()};
}

void applyColumnWidths(QHeaderView* header, const std::vector<int>& widths) {
    for (std::size_t k = 0; k < widths.size(); ++k) {
        const int column = static_cast<int>(k) + 1;
        if (widths[k] != -1 && column < header->count()) header->resizeSection(column, widths[k]);
    }
}

void storeColumnWidths(const QHeaderView* header, std::vector<int>& widths) {
    for (std::size_t k = 0; k < widths.size(); ++k) {
        const int column = static_cast<int>(k) + 1;
        if (column < header->count()) widths[k] = header->sectionSize(column);
    }
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

}  // namespace zemo::ui
