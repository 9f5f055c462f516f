#pragma once

#include "support/gui/FakeServices.h"

#include "settings/ReadingSettings.h"
#include "view/FlashView.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// Template forms carry their template's id (130 to 132), controls ids from 1000 on.
inline bool IsTemplateForm(const QWidget& widget) {
    const QVariant id = widget.property("controlId");
    return id.isValid() && id.toInt() < 1000;
}

// The template a control belongs to: its nearest ancestor that is a template form.
inline QWidget* TemplateOf(QWidget* control) {
    for (QWidget* w = control->parentWidget(); w; w = w->parentWidget())
        if (IsTemplateForm(*w))
            return w;
    return nullptr;
}

// The control with the given id in the template form (not in a page inside it: ids
// repeat between templates).
template <typename T> T* ControlIn(QWidget& form, int id) {
    for (T* widget : form.findChildren<T*>())
        if (widget->property("controlId").toInt() == id && TemplateOf(widget) == &form)
            return widget;
    return nullptr;
}

// The first count widgets of the focus chain from first that keep accepts (first included).
inline std::vector<QWidget*> FocusChain(QWidget* first, std::size_t count,
                                        const std::function<bool(QWidget*)>& keep) {
    std::vector<QWidget*> chain{first};
    QWidget* w = first;
    for (int i = 0; i < 200 && chain.size() < count; ++i) {
        w = w->nextInFocusChain();
        if (w->focusPolicy() & Qt::TabFocus && keep(w))
            chain.push_back(w);
    }
    return chain;
}

// The view with its flags in reach, to put it in full-screen state without a screen.
class CPanelTestView : public CFlashView {
public:
    using CFlashView::CFlashView;
    using CFlashView::SetFlag;
};

// A view on fake services with a fixed, installed font.
class PanelViewFixture : public ::testing::Test {
protected:
    static constexpr int ViewWidth = 800;
    static constexpr int ViewHeight = 600;

    void SetUp() override {
        std::memset(Settings.Font.lfFaceName, 0, sizeof Settings.Font.lfFaceName);
        std::strcpy(Settings.Font.lfFaceName, "DejaVu Sans");
        Settings.Font.lfHeight = -20;
        View = std::make_unique<CPanelTestView>(Settings, Fakes.Services);
        View->resize(ViewWidth, ViewHeight);
    }

    void Load(const std::string& text) {
        Text = text;
        Settings.TextLength = static_cast<int32_t>(Text.size());
        View->SetText(Text.c_str());
    }

    CFakeServices Fakes;
    CReadingSettings Settings;
    std::unique_ptr<CPanelTestView> View;
    std::string Text;
};

// Every label and button text of form fits its control, and every control lies
// inside the form.
inline void ExpectNothingClipped(QWidget& form) {
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&form) || qobject_cast<QSpinBox*>(widget->parentWidget()))
            continue;
        const QRect inForm(widget->mapTo(&form, QPoint()), widget->size());
        EXPECT_TRUE(form.rect().contains(inForm))
            << widget->objectName().toStdString() << " lies outside the form";
        QString text;
        QRect box;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            text = button->text();
            box = button->rect().adjusted(2, 2, -2, -2);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            box = label->contentsRect();
        } else if (qobject_cast<QSpinBox*>(widget) || qobject_cast<QLineEdit*>(widget)) {
            EXPECT_GE(widget->height(), widget->minimumSizeHint().height())
                << widget->objectName().toStdString();
            if (qobject_cast<QSpinBox*>(widget)) { // room for the longest value
                EXPECT_GE(widget->width(), widget->minimumSizeHint().width())
                    << widget->objectName().toStdString();
            }
            continue;
        } else {
            continue;
        }
        if (text.isEmpty()) // arrows and the like
            continue;
        const QFontMetrics metrics(widget->font());
        EXPECT_LE(metrics.horizontalAdvance(text), box.width())
            << widget->objectName().toStdString() << ": " << text.toStdString();
        EXPECT_LE(metrics.height(), box.height())
            << widget->objectName().toStdString() << ": " << text.toStdString();
    }
}
