#pragma once
// A private copy of the sample configuration, its estate and the shipped
// template files, so that a screenshot run never writes into the source tree.
#include <QString>

namespace tabulon::screenshots {

// Copies `source`/examples (with an empty output folder) and `source`/data
// into `into`; the configuration's relative paths then hold from `into`.
// False with `error` set when a file could not be copied.
bool CopySample(const QString& source, const QString& into, QString& error);

}  // namespace tabulon::screenshots
