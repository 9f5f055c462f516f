// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>

// The status bar's one-click question after a long session: how well the reader
// followed, 1 to 5. Hidden until asked; a click answers and hides it, and so does the
// next session, which leaves the question unanswered.
class CRatingRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int Highest = 5;

    explicit CRatingRow(QWidget* parent = nullptr);

    // Shows the row; rated is called with the reader's answer.
    void Ask(std::function<void(int)> rated);
    void Withdraw();

private:
    std::function<void(int)> Rated;
};
