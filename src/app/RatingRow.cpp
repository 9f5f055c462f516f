// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RatingRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

CRatingRow::CRatingRow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RatingRow"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("How well did you follow? 1 (poorly) to 5 (fully):"), this));
    for (int rating = 1; rating <= Highest; ++rating) {
        auto* button = new QToolButton(this);
        button->setText(QString::number(rating));
        button->setObjectName(QStringLiteral("Rating%1").arg(rating));
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, [this, rating] {
            const std::function<void(int)> rated = std::move(Rated);
            Withdraw();
            if (rated)
                rated(rating);
        });
        layout->addWidget(button);
    }
    hide();
}

void CRatingRow::Ask(std::function<void(int)> rated) {
    Rated = std::move(rated);
    show();
}

void CRatingRow::Withdraw() {
    Rated = nullptr;
    hide();
}
