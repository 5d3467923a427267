#include "engine/random.h"

namespace tarnwell {

TRandom& ProgramRandom() {
    static TRandom random;
    return random;
}

}  // namespace tarnwell
