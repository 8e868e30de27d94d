#pragma once

#include <string>

namespace common::app {

// Reports the driver's OpenGL debug messages on standard output, one "OpenGL Error: ..." text each.
namespace debug_output {

// Installs the callback through the first entry point the driver offers: core, ARB, then AMD.
// Needs a current context. Returns false when none exists (the game then runs without it).
bool install();

const char* sourceName(unsigned source);
const char* typeName(unsigned type);
const char* severityName(unsigned severity);

// "OpenGL Error: <message> [Source = ..., Type = ..., Severity = ..., ID = <id>]", no line break.
std::string format(unsigned source, unsigned type, unsigned id, unsigned severity, const char* message);

}  // namespace debug_output
}  // namespace common::app
