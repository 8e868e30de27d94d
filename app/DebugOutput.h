#pragma once

#include <string>
#include <vector>

namespace common::app {

// Reports the driver's OpenGL debug messages on standard output, one "OpenGL Error: ..." text each.
namespace debug_output {

// The debug-message interfaces a context may offer, in the order they are preferred.
enum class Api { Core, Arb, Amd, None };

// What the context offers, decided by its version and the extensions it reports: the core entry
// point from OpenGL 4.3 on or with GL_KHR_debug, then GL_ARB_debug_output, then GL_AMD_debug_output.
// (Looking the entry points up by name decides nothing: GLX hands out an address for any name.)
Api chooseApi(int major, int minor, const std::vector<std::string>& extensions);

// Installs the callback through the interface the current context offers. Returns false when it
// offers none (the game then runs without it).
bool install();

const char* sourceName(unsigned source);
const char* typeName(unsigned type);
const char* severityName(unsigned severity);

// "OpenGL Error: <message> [Source = ..., Type = ..., Severity = ..., ID = <id>]", no line break.
std::string format(unsigned source, unsigned type, unsigned id, unsigned severity, const char* message);

}  // namespace debug_output
}  // namespace common::app
