#pragma once

namespace common::scene {

enum class Medal { None, Bronze, Silver, Gold };

// The medal a finishing time earns against the course's par: gold within 5 % of par (or faster),
// silver within 20 %, bronze otherwise. No par (0 or less), or no usable time, earns none.
Medal medalFor(double time, double par);
// "Gold", "Silver", "Bronze", or "" for none.
const char* medalName(Medal medal);

}  // namespace common::scene
