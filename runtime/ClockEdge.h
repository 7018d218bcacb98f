// Which clock crossing (timer) or clock half (phase detector) counts.
#pragma once

namespace Quenrix {

enum ClockEdgeE : int { eNegativeEdge = 0, ePositiveEdge = 1 };

} // namespace Quenrix
