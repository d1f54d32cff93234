#include "monkey.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <map>

namespace vmtest {
namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text.substr(0, 60)) out += c == '\n' ? std::string("\\n") : c == '\r' ? std::string("\\r") : std::string(1, c);
    if (text.size() > 60) out += "...(" + std::to_string(text.size()) + " bytes)";
    return out + "\"";
}

std::string Name(const QObject* o) {
    return o->objectName().isEmpty() ? o->metaObject()->className() : o->objectName().toStdString();
}

bool Usable(const QWidget* w) { return w->isVisible() && w->isEnabled(); }

template <class T>
T* Any(Rng& rng, const std::vector<T*>& v) {
    return v.empty() ? nullptr : v[size_t(Pick(rng, int(v.size())))];
}

}  // namespace

bool Monkey::Excluded(const QObject* o) const {
    return std::find(excluded.begin(), excluded.end(), o->objectName()) != excluded.end();
}

std::string Describe(const QWidget* w) {
    const QWidget* win = w->window();
    return win == w ? Name(w) : Name(win) + "/" + Name(w);
}

std::vector<QWidget*> Monkey::Windows() const {
    std::vector<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !qobject_cast<QMenu*>(w) && !w->inherits("QTipLabel")) out.push_back(w);
    // The application keeps its windows in a hash; a fixed order keeps a seed's run the same.
    std::stable_sort(out.begin(), out.end(), [](QWidget* a, QWidget* b) {
        return std::make_pair(std::string(a->metaObject()->className()), Name(a)) <
               std::make_pair(std::string(b->metaObject()->className()), Name(b));
    });
    return out;
}

template <class T>
std::vector<T*> Monkey::Find(bool editableOnly) const {
    std::vector<T*> out;
    for (QWidget* win : Windows())
        for (T* w : win->findChildren<T*>())
            if (Usable(w) && (!editableOnly || !w->property("readOnly").toBool())) out.push_back(w);
    return out;
}

std::string Monkey::Act(bool& damaged) {
    damaged = false;
    struct Kind {
        int weight;
        std::string (Monkey::*act)();
    };
    static const Kind kinds[] = {
        {14, &Monkey::MenuCommand}, {22, &Monkey::ClickButton}, {9, &Monkey::ChooseItem},
        {16, &Monkey::TypeText},    {15, &Monkey::GridAction},  {8, &Monkey::ClickLabel},
        {6, &Monkey::PressKey},     {5, &Monkey::TimePasses},   {3, &Monkey::CloseWindow},
        {3, &Monkey::ResizeWindow},
    };
    int total = 2;  // the outside damage
    for (const Kind& k : kinds) total += k.weight;
    int roll = Pick(rng_, total);
    for (const Kind& k : kinds) {
        if (roll < k.weight) {
            std::string done = (this->*k.act)();
            return done.empty() ? "nothing to do" : done;
        }
        roll -= k.weight;
    }
    if (!externalDamage) return "nothing to do";
    damaged = true;
    return "another program: " + externalDamage(rng_);
}

std::string Monkey::MenuCommand() {
    // Opening a menu lets it fill itself in first (recent files and the like).
    std::vector<QAction*> commands;
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* a : actions) {
            if (a->isSeparator() || !a->isVisible() || !a->isEnabled()) continue;
            if (QMenu* menu = a->menu()) {
                emit menu->aboutToShow();
                walk(menu->actions());
            } else if (!Excluded(a)) {
                commands.push_back(a);
            }
        }
    };
    for (QWidget* win : Windows()) {
        auto* main = qobject_cast<QMainWindow*>(win);
        QMenuBar* bar = main ? main->menuBar() : win->findChild<QMenuBar*>();
        if (bar && bar->isVisible()) walk(bar->actions());
    }
    QAction* a = Any(rng_, commands);
    if (!a) return {};
    const std::string what = "menu " + Name(a) + " (" + a->text().toStdString() + ")";
    a->trigger();
    return what;
}

std::string Monkey::ClickButton() {
    QAbstractButton* b = Any(rng_, Find<QAbstractButton>());
    if (!b) return {};
    if (Excluded(b)) return {};
    const std::string what = "click " + Describe(b) + " (" + b->text().toStdString() + ")";
    if (auto* tb = qobject_cast<QToolButton*>(b); tb && tb->menu()) {
        // A button with a menu: one of its items is chosen (the popup would wait for the user).
        std::vector<QAction*> items;
        for (QAction* a : tb->menu()->actions())
            if (!a->isSeparator() && a->isEnabled()) items.push_back(a);
        QAction* a = Any(rng_, items);
        if (!a) return {};
        a->trigger();
        return what + " menu " + a->text().toStdString();
    }
    if (Chance(rng_, 50)) QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    else b->click();
    return what;
}

std::string Monkey::ChooseItem() {
    std::vector<QWidget*> boxes;
    for (QComboBox* c : Find<QComboBox>())
        if (c->count() > 0) boxes.push_back(c);
    for (QTabBar* t : Find<QTabBar>())
        if (t->count() > 1) boxes.push_back(t);
    QWidget* w = Any(rng_, boxes);
    if (!w) return {};
    if (auto* t = qobject_cast<QTabBar*>(w)) {
        const int i = Pick(rng_, t->count());
        t->setCurrentIndex(i);
        return "tab " + Describe(t) + " " + t->tabText(i).toStdString();
    }
    auto* c = static_cast<QComboBox*>(w);
    const int i = Pick(rng_, c->count());
    const std::string what = "choose " + Describe(c) + " " + Quoted(c->itemText(i).toStdString());
    QPointer<QComboBox> keep(c);
    c->setCurrentIndex(i);
    if (keep) emit c->activated(i);
    if (keep) emit c->textActivated(c->itemText(i));
    return what;
}

void Monkey::Type(QWidget* box, const std::string& text, std::string& log) {
    QPointer<QWidget> keep(box);
    const QString q = QString::fromStdString(text);
    if (Chance(rng_, 60)) {
        if (auto* e = qobject_cast<QLineEdit*>(box)) e->selectAll();
        else if (auto* t = qobject_cast<QTextEdit*>(box)) t->selectAll();
        else if (auto* p = qobject_cast<QPlainTextEdit*>(box)) p->selectAll();
    }
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) { return c > 0 && c != '\n' && c != '\r'; });
    if (plain && text.size() <= 40) {
        QTest::keyClicks(box, q);
    } else {
        QApplication::clipboard()->setText(q);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        log += " (pasted)";
    }
    if (!keep) return;
    const int end = Pick(rng_, 3);
    if (end == 0) {
        QTest::keyClick(box, Qt::Key_Return);
        log += " + Enter";
    } else if (end == 1) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
        log += " + leave";
    }
}

std::string Monkey::TypeText() {
    std::vector<QWidget*> boxes;
    for (QLineEdit* e : Find<QLineEdit>(true))
        if (!qobject_cast<QAbstractItemView*>(e->parentWidget() ? e->parentWidget()->parentWidget() : nullptr))
            boxes.push_back(e);
    for (QTextEdit* e : Find<QTextEdit>(true)) boxes.push_back(e);
    for (QPlainTextEdit* e : Find<QPlainTextEdit>(true)) boxes.push_back(e);
    QWidget* box = Any(rng_, boxes);
    if (!box) return {};
    const std::string text = RandomText(rng_);
    std::string what = "type " + Quoted(text) + " into " + Describe(box->parentWidget() && qobject_cast<QComboBox*>(box->parentWidget()) ? box->parentWidget() : box);
    Type(box, text, what);
    return what;
}

std::string Monkey::GridAction() {
    std::vector<QAbstractItemView*> views;
    for (QAbstractItemView* v : Find<QAbstractItemView>())
        if (!qobject_cast<QHeaderView*>(v)) views.push_back(v);
    QAbstractItemView* v = Any(rng_, views);
    if (!v || !v->model()) return {};
    QAbstractItemModel* m = v->model();
    const int rows = m->rowCount(v->rootIndex()), cols = m->columnCount(v->rootIndex());
    if (rows == 0 || cols == 0) return {};
    auto* table = qobject_cast<QTableView*>(v);
    std::vector<int> shown;
    for (int c = 0; c < cols; ++c)
        if (!table || !table->isColumnHidden(c)) shown.push_back(c);
    if (shown.empty()) return {};
    const int row = Chance(rng_, 20) ? rows - 1 : Pick(rng_, rows);  // the new-row line now and then
    const int col = shown[size_t(Pick(rng_, int(shown.size())))];
    const QModelIndex idx = m->index(row, col, v->rootIndex());
    const std::string cell = Describe(v) + " cell (" + std::to_string(row) + "," +
                             m->headerData(col, Qt::Horizontal).toString().toStdString() + ")";
    QPointer<QAbstractItemView> keep(v);
    v->scrollTo(idx);
    const QPoint at = v->visualRect(idx).center();
    const int kind = Pick(rng_, 100);
    if (kind < 60 && (m->flags(idx) & Qt::ItemIsEditable)) {
        v->setCurrentIndex(idx);
        if (!keep) return "select " + cell;
        v->edit(idx);
        QWidget* editor = nullptr;
        if (keep)
            for (QWidget* w : v->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (w->isVisible()) editor = w;
        if (!editor) return "edit " + cell + " (no editor)";
        std::string what = "edit " + cell;
        QPointer<QWidget> ed(editor);
        auto* combo = qobject_cast<QComboBox*>(editor);
        if (combo && combo->count() > 0 && Chance(rng_, 60)) {
            const int i = Pick(rng_, combo->count());
            combo->setCurrentIndex(i);
            what += " choose " + Quoted(combo->itemText(i).toStdString());
        } else {
            QWidget* box = combo ? combo->lineEdit() : editor;
            if (!box) box = editor;
            const std::string text = RandomText(rng_);
            what += " type " + Quoted(text);
            QApplication::clipboard()->setText(QString::fromStdString(text));
            if (auto* e = qobject_cast<QLineEdit*>(box)) e->selectAll();
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        }
        if (!ed) return what;
        if (Chance(rng_, 10)) {
            QTest::keyClick(editor, Qt::Key_Escape);
            return what + " + Escape";
        }
        QTest::keyClick(editor, Qt::Key_Return);
        return what + " + Enter";
    }
    if (kind < 75) {
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, at);
        return "double-click " + cell;
    }
    if (kind < 85 && table) {
        QHeaderView* h = table->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(col) + 3, h->height() / 2));
        return "click heading " + cell;
    }
    if (kind < 93) {
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, at);
        return "click " + cell;
    }
    v->setCurrentIndex(idx);
    if (keep) QTest::keyClick(v, Qt::Key_Delete);
    return "Delete key on " + cell;
}

std::string Monkey::ClickLabel() {
    std::vector<QLabel*> labels;
    for (QLabel* l : Find<QLabel>())
        if (!l->objectName().isEmpty()) labels.push_back(l);
    QLabel* l = Any(rng_, labels);
    if (!l) return {};
    const QPoint at = l->rect().center();
    switch (Pick(rng_, 4)) {
        case 0: QTest::mouseClick(l, Qt::RightButton, {}, at); return "right-click " + Describe(l);
        case 1: QTest::mouseClick(l, Qt::LeftButton, {}, at); return "click " + Describe(l);
        default: QTest::mouseDClick(l, Qt::LeftButton, {}, at); return "double-click " + Describe(l);
    }
}

std::string Monkey::PressKey() {
    static const Qt::Key keys[] = {Qt::Key_Left,  Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down, Qt::Key_PageUp,
                                   Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End, Qt::Key_Return, Qt::Key_Escape,
                                   Qt::Key_Delete, Qt::Key_Tab,  Qt::Key_F1,     Qt::Key_M,    Qt::Key_Y,
                                   Qt::Key_C,     Qt::Key_V,     Qt::Key_Z,      Qt::Key_S,    Qt::Key_E};
    static const char* const names[] = {"Left", "Right", "Up", "Down", "PageUp", "PageDown", "Home", "End", "Enter",
                                        "Escape", "Delete", "Tab", "F1", "M", "Y", "C", "V", "Z", "S", "E"};
    QWidget* win = Any(rng_, Windows());
    if (!win) return {};
    QWidget* target = win->focusWidget() && Usable(win->focusWidget()) ? win->focusWidget() : win;
    const int k = Pick(rng_, 20);
    const int mod = Pick(rng_, 4);
    const Qt::KeyboardModifiers mods = mod == 1 ? Qt::ControlModifier : mod == 2 ? Qt::ShiftModifier : Qt::NoModifier;
    QTest::keyClick(target, keys[k], mods);
    return std::string("key ") + (mod == 1 ? "Ctrl+" : mod == 2 ? "Shift+" : "") + names[k] + " on " + Describe(target);
}

std::string Monkey::TimePasses() {
    const int roll = Pick(rng_, 10);
    const int seconds = roll < 5 ? 2 : roll < 9 ? 60 * (1 + Pick(rng_, 30)) : 3600 * (1 + Pick(rng_, 6));
    int fired = 0;
    // In steps of 20 s (shorter than an alarm's fire window), each running
    // timer firing once its interval has gone by, in a fixed order.
    for (int left = seconds; left > 0; left -= 20) {
        const int step = std::min(left, 20);
        const vm::LocalTime t = clock_.time;
        const QDateTime next =
            QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second)).addSecs(step);
        clock_.time = {next.date().year(), next.date().month(), next.date().day(), next.time().hour(),
                       next.time().minute(), next.time().second(), 0};
        std::vector<QPointer<QTimer>> timers;
        for (QWidget* win : QApplication::topLevelWidgets())
            for (QTimer* tm : win->findChildren<QTimer*>())
                if (tm->isActive()) timers.emplace_back(tm);
        std::stable_sort(timers.begin(), timers.end(), [](const QPointer<QTimer>& a, const QPointer<QTimer>& b) {
            return std::make_pair(Name(a->parent() ? a->parent() : a.data()), Name(a)) <
                   std::make_pair(Name(b->parent() ? b->parent() : b.data()), Name(b));
        });
        std::map<const QTimer*, long long> waited;
        for (const QPointer<QTimer>& tm : timers) waited[tm.data()] = waited_[tm.data()] + step * 1000LL;
        waited_ = waited;
        for (const QPointer<QTimer>& tm : timers) {
            if (!tm || !tm->isActive() || waited_[tm.data()] < tm->interval()) continue;
            waited_[tm.data()] = 0;
            if (tm->isSingleShot()) tm->stop();
            QMetaObject::invokeMethod(tm.data(), "timeout");
            ++fired;
            QApplication::sendPostedEvents();
        }
    }
    return std::to_string(seconds) + " s pass, timers fire " + std::to_string(fired) + " times";
}

std::string Monkey::ResizeWindow() {
    QWidget* w = Any(rng_, Windows());
    if (!w) return {};
    switch (Pick(rng_, 4)) {
        case 0:
            w->showMinimized();
            w->showNormal();
            return "minimize and restore " + Name(w);
        case 1: w->showMaximized(); return "maximize " + Name(w);
        default: {
            static const int sizes[] = {1, 40, 200, 640, 1024, 2600};
            const int width = sizes[Pick(rng_, 6)], height = sizes[Pick(rng_, 6)];
            w->resize(width, height);
            return "resize " + Name(w) + " to " + std::to_string(width) + "x" + std::to_string(height);
        }
    }
}

std::string Monkey::CloseWindow() {
    std::vector<QWidget*> others;
    for (QWidget* w : Windows())
        if (!qobject_cast<QMainWindow*>(w) || w->objectName() != "frmVelmora") others.push_back(w);
    QWidget* w = Any(rng_, others);
    if (!w) return {};
    const std::string what = "close window " + Name(w);
    w->close();
    return what;
}

}  // namespace vmtest
