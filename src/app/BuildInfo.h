#pragma once

#include <QString>

// The version of this build: the project's version and, for a build from a Git checkout, the
// commit.
namespace BuildInfo {

QString version();
QString commit(); // empty when not built from a checkout

// "tervix-cli 1.0 (commit 0123456789ab)", or without the parenthesis.
QString versionLine(const char* program);

// Handles --version before anything else runs (no window system, no parsing): prints the
// version line on stdout and returns true when it was asked for.
bool printVersionIfAsked(int argc, char** argv, const char* program);

} // namespace BuildInfo
