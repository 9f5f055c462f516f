#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

#include <vector>

// Stands in for the desktop's URL handlers of some schemes while it lives, so that
// the real opener can be exercised without starting a browser or mail program.
class CUrlRecorder : public QObject {
    Q_OBJECT

public:
    explicit CUrlRecorder(const QStringList& schemes) : Schemes(schemes) {
        for (const QString& scheme : Schemes)
            QDesktopServices::setUrlHandler(scheme, this, "Handle");
    }
    ~CUrlRecorder() override {
        for (const QString& scheme : Schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    std::vector<QUrl> Urls;

public slots:
    void Handle(const QUrl& url) { Urls.push_back(url); }

private:
    QStringList Schemes;
};
