// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/Fingerprint.h"

#include <QCryptographicHash>

#include <algorithm>

std::string TextFingerprint(std::string_view text) {
    constexpr std::size_t End = 64 * 1024;
    const std::size_t edge = std::min(text.size(), End);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(static_cast<qulonglong>(text.size())));
    hash.addData(QByteArrayView(text.data(), static_cast<qsizetype>(edge)));
    hash.addData(QByteArrayView(text.data() + text.size() - edge, static_cast<qsizetype>(edge)));
    return hash.result().toHex().toStdString();
}
