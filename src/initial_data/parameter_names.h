#pragma once
// Display names of the parameters: the 14 initial-data parameters of a cooler
// and of a condenser (slots 1..14) and the construction parameters (slots
// 15..26). Every name is 59 characters long (slot 17: 54), so that lists and
// the report can line the values up behind them.

#include <QString>

namespace orven {

struct DesignCase;

constexpr int parameterNameWidth = 59;
constexpr int plateTypeNameWidth = 54; // the construction name of slot 17

// Name of initial-data slot 1..14 for a cooler or for a condenser.
const QString& coolerParameterName(int slot);
const QString& condenserParameterName(int slot);
// Name of construction slot 15..26.
const QString& constructionParameterName(int slot);

// Fills coolerParameterNames and condenserParameterNames slots 1..14 and
// constructionParameterNames slots 15..26; the other slots are left alone.
void fillParameterNames(DesignCase& designCase);

} // namespace orven
