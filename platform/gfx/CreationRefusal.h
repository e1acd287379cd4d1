#pragma once
// Windows and DIB sections can fail to be made (the system is out of memory or handles), and every
// caller must cope. Such failures are rare in real runs, so the headless backend can order them:
// the next count creations of a kind are refused, exactly as a real shortage would refuse them.
// Real runs never set a refusal; checking one costs a load and a branch.

namespace platform {

enum class Creation { Window, DibSection, Count };

// Whether this creation is refused; a refusal is used up by it.
bool CreationRefused(Creation what);
// Refuses the next count creations of a kind (0 stops refusing).
void RefuseCreations(Creation what, int count);

} // namespace platform
