#include "platform/c_random.h"

namespace corvanthe {

CRandom& process_random() {
    static CRandom random;
    return random;
}

}  // namespace corvanthe
