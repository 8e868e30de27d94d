#pragma once

#include <set>

#include "game/KeyInput.h"

namespace testsupport {

// Keyboard whose held keys the test sets.
class ScriptedKeys : public common::scene::KeyInput {
  public:
    bool isKeyDown(int key) override { return held.count(key) > 0; }
    std::set<int> held;
};

}  // namespace testsupport
