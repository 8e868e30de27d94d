#include "input/InputState.h"

#include <gtest/gtest.h>

#include <GLFW/glfw3.h>
#include <glm/glm.hpp>

#include "game/KeyInput.h"
#include "tests/support/UnitGlmNear.h"

using namespace common::input;
namespace keys = common::scene::keys;

namespace {

PadState pad(float x, float y, std::initializer_list<int> pressed = {}) {
    PadState state;
    state.connected = true;
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = x;
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = y;
    for (int button : pressed) {
        state.buttons[std::size_t(button)] = true;
    }
    return state;
}

}  // namespace

// The stick in proportion beyond a small dead zone (full deflection is a held key), forward for the
// nose down as the Up key; the d-pad as the arrows; the other buttons steer nothing.
TEST(PadMapping, StickDpadAndButtonsActAsTheKeys) {
    const struct {
        PadState pad;
        float up, down, left, right;
    } cases[] = {
        {pad(0.0f, -1.0f), 1.0f, 0.0f, 0.0f, 0.0f},
        {pad(0.0f, 1.0f), 0.0f, 1.0f, 0.0f, 0.0f},
        {pad(1.0f, 0.0f), 0.0f, 0.0f, 0.0f, 1.0f},
        {pad(-0.575f, 0.0f), 0.0f, 0.0f, 0.5f, 0.0f},
        {pad(0.1f, -0.14f), 0.0f, 0.0f, 0.0f, 0.0f},  // resting in the dead zone
        {pad(0.0f, 0.0f, {GLFW_GAMEPAD_BUTTON_DPAD_UP, GLFW_GAMEPAD_BUTTON_DPAD_LEFT}), 1.0f, 0.0f, 1.0f,
         0.0f},
        {pad(0.0f, 0.0f, {GLFW_GAMEPAD_BUTTON_A, GLFW_GAMEPAD_BUTTON_START}), 0.0f, 0.0f, 0.0f, 0.0f},
        {PadState{}, 0.0f, 0.0f, 0.0f, 0.0f},  // unplugged
    };
    for (const auto& c : cases) {
        const InputState state = InputState::fromPad(c.pad);
        SCOPED_TRACE(testing::Message() << c.pad.axes[0] << ", " << c.pad.axes[1]);
        testsupport::expectNear(glm::vec4(state.amount(keys::kUp), state.amount(keys::kDown),
                                          state.amount(keys::kLeft), state.amount(keys::kRight)),
                                glm::vec4(c.up, c.down, c.left, c.right));
    }
}

// A button runs its command once when it goes down: held, released or unplugged, it runs nothing.
TEST(PadMapping, ButtonsCountWhenTheyGoDown) {
    using Buttons = std::vector<int>;
    const int a = GLFW_GAMEPAD_BUTTON_A;
    const int start = GLFW_GAMEPAD_BUTTON_START;
    const struct {
        PadState before, now;
        Buttons pressed;
    } cases[] = {
        {pad(0.0f, 0.0f), pad(0.0f, 0.0f, {start}), {start}},
        {pad(0.0f, 0.0f, {start}), pad(0.0f, 0.0f, {start}), {}},      // still held
        {pad(0.0f, 0.0f, {start}), pad(0.0f, 0.0f, {a, start}), {a}},  // another one joins
        {pad(0.0f, 0.0f, {a}), pad(0.0f, 0.0f), {}},                   // released
        {PadState{}, pad(0.0f, 0.0f, {start, a}), {a, start}},         // plugged in held
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InputState::pressedSince(c.before, c.now), c.pressed);
    }
}
