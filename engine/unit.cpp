#include "unit.hpp"

namespace kelvra {

Tunit::Tunit() {
    classLetter = 'U';
}

}  // namespace kelvra
