#pragma once
// A control of the generator's windows carries its design name, so the language table and the tests
// find it.

namespace tolvek::generator {

template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(name);
  return w;
}

}  // namespace tolvek::generator
