// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Answers the next modal dialog of type T once the event loop shows it; fails the test
// when none comes within timeoutMs.
template <typename T> void AnswerNext(std::function<void(T*)> answer, int timeoutMs = 5000) {
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [=, deadline = QDeadlineTimer(timeoutMs)] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog && !deadline.hasExpired())
            return;
        poll->stop(), poll->deleteLater();
        dialog ? answer(dialog) : void(ADD_FAILURE() << "no dialog came to answer");
    });
    poll->start(10);
}
