#pragma once

// The network file for other programs: one network as JSON, with its layers,
// weights, scale and limits and the contract of its inputs and outputs.
// Format "zarnik32-network", version 1; tools/zarnik_network.py reads it.
#include <QByteArray>
#include <QString>

#include "ann-ga/portable_network.h"

inline constexpr const char* NetworkFormat = "zarnik32-network";
inline constexpr int NetworkFormatVersion = 1;
// Far beyond a network of the program's shape (a few kilobytes), and small
// enough that reading a file this large takes little time and memory.
inline constexpr qint64 MaxNetworkJsonBytes = 1 << 20;

QByteArray NetworkToJson(const TPortableNetwork& net);

// Every field checked (types, ranges, counts, and the contract against this
// program's inputs and outputs); false with the reason, in the language
// installed, and `net` untouched.
bool NetworkFromJson(const QByteArray& json, TPortableNetwork& net, QString& why);
