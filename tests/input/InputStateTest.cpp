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
// nose down as the Up key; the d-pad as the arrows; A restarts, Start pauses.
TEST(PadMapping, StickDpadAndButtonsActAsTheKeys) {
    const struct {
        PadState pad;
        float up, down, left, right;
        bool restart, pause;
    } cases[] = {
        {pad(0.0f, -1.0f), 1.0f, 0.0f, 0.0f, 0.0f, false, false},
        {pad(0.0f, 1.0f), 0.0f, 1.0f, 0.0f, 0.0f, false, false},
        {pad(1.0f, 0.0f), 0.0f, 0.0f, 0.0f, 1.0f, false, false},
        {pad(-0.575f, 0.0f), 0.0f, 0.0f, 0.5f, 0.0f, false, false},
        {pad(0.1f, -0.14f), 0.0f, 0.0f, 0.0f, 0.0f, false, false},  // resting in the dead zone
        {pad(0.0f, 0.0f, {GLFW_GAMEPAD_BUTTON_DPAD_UP, GLFW_GAMEPAD_BUTTON_DPAD_LEFT}), 1.0f, 0.0f, 1.0f,
         0.0f, false, false},
        {pad(0.0f, 0.0f, {GLFW_GAMEPAD_BUTTON_A, GLFW_GAMEPAD_BUTTON_START}), 0.0f, 0.0f, 0.0f, 0.0f, true,
         true},
        {PadState{}, 0.0f, 0.0f, 0.0f, 0.0f, false, false},  // unplugged
    };
    for (const auto& c : cases) {
        const InputState state = InputState::fromPad(c.pad);
        SCOPED_TRACE(testing::Message() << c.pad.axes[0] << ", " << c.pad.axes[1]);
        testsupport::expectNear(glm::vec4(state.amount(keys::kUp), state.amount(keys::kDown),
                                          state.amount(keys::kLeft), state.amount(keys::kRight)),
                                glm::vec4(c.up, c.down, c.left, c.right));
        EXPECT_EQ(state.restart, c.restart);
        EXPECT_EQ(state.pause, c.pause);
    }
}
