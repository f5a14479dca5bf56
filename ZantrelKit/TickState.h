#pragma once

// The state of a tick box; mixed stands for several rows of which some are ticked.

namespace ZantrelKit {

enum class TickState { on, off, mixed };

}  // namespace ZantrelKit
