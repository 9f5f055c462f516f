// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BackgroundRead.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace {

const QEvent::Type ReportType = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type EndType = static_cast<QEvent::Type>(QEvent::registerEventType());

struct CReportEvent final : QEvent {
    CReportEvent(uint64_t done, uint64_t total) : QEvent(ReportType), Done(done), Total(total) {}
    uint64_t Done;
    uint64_t Total;
};

} // namespace

// What the read's thread and the window share; the thread holds it as long as it runs,
// also after the window has given it up.
struct CBackgroundRead::SShared {
    std::mutex Mutex;
    std::condition_variable Changed;
    QObject* Receiver = nullptr; // null once given up: nothing is posted any more
    bool Taken = true;           // the last report has been handled
    bool Stop = false;

    void Post(QEvent* event) {
        if (Receiver)
            QCoreApplication::postEvent(Receiver, event);
        else
            delete event;
    }

    bool Report(uint64_t done, uint64_t total) {
        std::unique_lock lock(Mutex);
        if (Stop)
            return false;
        Taken = false;
        Post(new CReportEvent(done, total));
        Changed.wait(lock, [this] { return Taken || Stop; });
        return !Stop;
    }

    void Ended() {
        const std::lock_guard lock(Mutex);
        Post(new QEvent(EndType));
    }

    void Took(bool go) {
        const std::lock_guard lock(Mutex);
        Taken = true;
        Stop = Stop || !go;
        Changed.notify_all();
    }

    void GiveUp() {
        const std::lock_guard lock(Mutex);
        Stop = true;
        Receiver = nullptr;
        Changed.notify_all();
    }
};

CBackgroundRead::CBackgroundRead() = default;

CBackgroundRead::~CBackgroundRead() {
    if (Shared)
        Shared->GiveUp();
}

CBackgroundRead::EEnd CBackgroundRead::Run(std::function<void(const Progress&)> read,
                                           std::function<bool(uint64_t, uint64_t)> step,
                                           std::function<bool()> tick) {
    Step = std::move(step);
    Continue = true;
    Shared = std::make_shared<SShared>();
    Shared->Receiver = this;
    bool ended = false;
    QEventLoop loop;
    std::thread worker([shared = Shared, read = std::move(read)] {
        read([&shared](uint64_t done, uint64_t total) { return shared->Report(done, total); });
        shared->Ended();
    });
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, &loop, [&] {
        Continue = Continue && tick();
        if (!Continue)
            loop.quit();
    });
    ticker.start(TickMs);
    EndLoop = [&] {
        ended = true;
        loop.quit();
    };
    loop.exec();
    EndLoop = nullptr;
    const std::shared_ptr<SShared> shared = std::exchange(Shared, nullptr);
    if (ended && Continue) {
        worker.join();
        return EEnd::Finished;
    }
    // A step of the read that never reports (a long parse) would hold the window: the
    // read is left to end on its own, its result unseen.
    shared->GiveUp();
    worker.detach();
    return EEnd::GivenUp;
}

bool CBackgroundRead::event(QEvent* event) {
    if (event->type() == EndType) {
        if (EndLoop)
            EndLoop();
        return true;
    }
    if (event->type() != ReportType)
        return QObject::event(event);
    const auto* report = static_cast<CReportEvent*>(event);
    Continue = Continue && Step(report->Done, report->Total);
    Shared->Took(Continue);
    if (!Continue && EndLoop)
        EndLoop();
    return true;
}
