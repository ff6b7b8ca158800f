#include "common/qt/vector_state.h"

namespace tolvek {

#if defined(__x86_64__) || defined(__i386__)
namespace {
bool HasAvx() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx");
}
}  // namespace

void ClearUpperVectorState() {
  static const bool hasAvx = HasAvx();
  if (hasAvx) asm volatile("vzeroupper");
}
#else
void ClearUpperVectorState() {}
#endif

}  // namespace tolvek
