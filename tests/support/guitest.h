#pragma once

// Driving windows offscreen: controls by name, modal windows acted on from a
// timer (exec() blocks the test), typed text as key presses.

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace kordel::test {

template <typename T> T *child(QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qWarning("%s has no %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

inline QPushButton *button(QWidget *window, const QString &name)
{
    return child<QPushButton>(window, name);
}

// Acts on the modal window `name` as soon as it is up, and closes it
// afterwards whatever happened, so that a failing check cannot hang the test.
inline void onModal(const QString &name, std::function<void(QDialog *)> act)
{
    QTimer::singleShot(0, [name, act = std::move(act)] {
        QPointer<QDialog> dialog;
        const bool shown = QTest::qWaitFor(
            [&] {
                dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                return dialog && dialog->objectName() == name;
            },
            5000);
        const auto close = qScopeGuard([&] {
            if (dialog && dialog->isVisible())
                dialog->reject();
        });
        QVERIFY2(shown, qPrintable(name + QStringLiteral(" did not open")));
        act(dialog);
    });
}

// Runs an action and tells which modal window it left on top (the one that
// was there when it opened nothing, "none" without any); anything it opened
// is closed.
inline QString modalAfter(const std::function<void()> &action)
{
    QWidget *before = QApplication::activeModalWidget();
    QString seen;
    QTimer::singleShot(0, [&] {
        QWidget *top = QApplication::activeModalWidget();
        seen = top ? top->objectName() : QStringLiteral("none");
        if (top != before)
            if (auto *dialog = qobject_cast<QDialog *>(top))
                dialog->reject();
    });
    action();
    (void)QTest::qWaitFor([&] { return !seen.isEmpty(); }, 5000);
    return seen;
}

// Types text key by key, Cyrillic included (QTest::keyClicks takes Latin-1).
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The texts of one column of the window's grid DBGrid1, top to bottom.
inline QStringList gridColumn(QWidget *window, int column = 0)
{
    QStringList texts;
    if (auto *grid = child<QAbstractItemView>(window, QStringLiteral("DBGrid1"))) {
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            texts << grid->model()->index(row, column).data().toString();
    }
    return texts;
}

} // namespace kordel::test
