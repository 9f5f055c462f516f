#pragma once

#include "PanelTestSupport.h"

#include "panel/MovePositionPage.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

// The control of a page that carries the given id.
template <typename T> T* Control(QWidget& page, int id) {
    for (T* widget : page.findChildren<T*>())
        if (widget->property("controlId").toInt() == id)
            return widget;
    return nullptr;
}

// A view with the move page on it, as the options panel hosts it.
class MovePageFixture : public PanelViewFixture {
protected:
    enum : int {
        SliderId = 1039,
        BookmarksButtonId = 1005,
        PositionLineId = 1041,
        BookmarkListId = 1040,
        BackId = 1006,
        ForwardId = 1007,
        PreviewId = 1002,
        StepEditId = 1042,
        StepSpinId = 1043,
    };

    void SetUp() override {
        PanelViewFixture::SetUp();
        // The tests move the clock and call OnTimer themselves.
        View->SetSelfTimed(false);
        Page = new CMovePositionPage(Settings, *View, View.get());
        Page->setGeometry(1, ViewHeight - CFlashView::PanelHeight, 380, 116);
    }

    // Hands a text to the view and refreshes the page, as opening a file does.
    void Load(const std::string& text) {
        PanelViewFixture::Load(text);
        Page->Refresh(CMovePositionPage::Originator::None);
    }

    int32_t Offset() const {
        int32_t offset = 0;
        Settings.GetPosition(offset);
        return offset;
    }

    void AddBookmarkAt(int32_t offset) {
        Settings.Book.Bookmarks[Settings.Book.BookmarksNum++] = offset;
    }

    QSlider& Slider() { return *Control<QSlider>(*Page, SliderId); }
    QLabel& PositionLine() { return *Control<QLabel>(*Page, PositionLineId); }
    QListWidget& List() { return *Control<QListWidget>(*Page, BookmarkListId); }
    QAbstractButton& Back() { return *Control<QAbstractButton>(*Page, BackId); }
    QAbstractButton& Forward() { return *Control<QAbstractButton>(*Page, ForwardId); }
    QPlainTextEdit& Preview() { return *Control<QPlainTextEdit>(*Page, PreviewId); }
    QLineEdit& StepEdit() { return *Control<QLineEdit>(*Page, StepEditId); }
    QString Line() { return PositionLine().text(); }

    CMovePositionPage* Page = nullptr; // owned by the view
};
