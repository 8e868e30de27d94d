#pragma once

#include <map>
#include <set>

#include "game/KeyInput.h"

namespace testsupport {

// Keyboard whose held keys the test sets.
class ScriptedKeys : public common::scene::KeyInput {
  public:
    bool isKeyDown(int key) override { return held.count(key) > 0; }
    // A key held only part of the way (a gamepad's stick); held keys count fully.
    float amount(int key) override { return partly.count(key) ? partly.at(key) : KeyInput::amount(key); }
    std::set<int> held;
    std::map<int, float> partly;
};

}  // namespace testsupport
