#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

// Runs the event loop until done() holds; false after timeoutMs (the test then fails
// on its own check, never hangs).
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    for (const QDeadlineTimer deadline(timeoutMs); !done();) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Answers the next modal dialog of type T once the event loop shows it; fails the test
// when none comes within timeoutMs.
template <typename T> struct CDialogAnswer {
    std::function<void(T*)> Answer;
    QDeadlineTimer Deadline;
    void operator()() const {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            Answer(dialog);
        else if (Deadline.hasExpired())
            ADD_FAILURE() << "no dialog came to answer";
        else
            QTimer::singleShot(10, *this);
    }
};

template <typename T> void AnswerNext(std::function<void(T*)> answer, int timeoutMs = 5000) {
    QTimer::singleShot(0, CDialogAnswer<T>{std::move(answer), QDeadlineTimer(timeoutMs)});
}
