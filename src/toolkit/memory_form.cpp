#include "toolkit/memory_form.h"

#include <cstdio>
#include <cstdlib>

namespace vekhor::toolkit {

void WrongControlKind(ControlId id) {
  std::fprintf(stderr, "%.*s asked for as another kind\n",
               static_cast<int>(LayoutOf(id).name.size()), LayoutOf(id).name.data());
  std::abort();
}

}  // namespace vekhor::toolkit
