// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

enum class MessageIcon { None, Information, Warning, Error, Question };

// Every modal box and common dialog the program shows goes through here, so that
// tests can answer them.
class IDialogs {
public:
    virtual ~IDialogs() = default;
    // A box with OK, captioned "Skimmet"; the informative text, when there is one, says
    // why under the main text.
    virtual void Message(QWidget* owner, const QString& text, MessageIcon icon,
                         const QString& informative = {}) = 0;
    // Yes and No with the question icon; true for Yes.
    virtual bool Confirm(QWidget* owner, const QString& text) = 0;
    // An existing file; filters like "Text files (*.txt)"; nullopt on Cancel. The dialog
    // starts in folder, or where the dialog itself chooses when folder is empty.
    // filterChosen, when given, receives the index of the filter the reader left chosen.
    virtual std::optional<QString> OpenFile(QWidget* owner, const QString& title,
                                            const QStringList& filters,
                                            const QString& defaultSuffix, const QString& folder,
                                            int* filterChosen = nullptr) = 0;
    // A file to write, the overwrite of an existing one confirmed; the dialog starts at
    // name (a path, or a bare name in the dialog's own folder). nullopt on Cancel.
    virtual std::optional<QString> SaveFile(QWidget* owner, const QString& title,
                                            const QStringList& filters,
                                            const QString& defaultSuffix, const QString& name) = 0;
    virtual std::optional<QColor> PickColor(QWidget* owner, const QColor& initial) = 0;
    virtual std::optional<QFont> PickFont(QWidget* owner, const QFont& initial) = 0;
};

// The real boxes and dialogs.
class CQtDialogs final : public IDialogs {
public:
    void Message(QWidget* owner, const QString& text, MessageIcon icon,
                 const QString& informative = {}) override;
    bool Confirm(QWidget* owner, const QString& text) override;
    std::optional<QString> OpenFile(QWidget* owner, const QString& title,
                                    const QStringList& filters, const QString& defaultSuffix,
                                    const QString& folder, int* filterChosen = nullptr) override;
    std::optional<QString> SaveFile(QWidget* owner, const QString& title,
                                    const QStringList& filters, const QString& defaultSuffix,
                                    const QString& name) override;
    std::optional<QColor> PickColor(QWidget* owner, const QColor& initial) override;
    std::optional<QFont> PickFont(QWidget* owner, const QFont& initial) override;
};
