#pragma once
// What every harness shares: the input as Qt's bytes.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

inline QByteArray inputBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}
