#pragma once

namespace tarvex {

/// Makes the process nicer than it was started (the host's priority), so a long report never
/// slows the acquisition. Returns false when the system refused; the run goes on regardless.
bool lowerProcessPriority();

} // namespace tarvex
