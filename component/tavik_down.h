// The component's one creatable class, tavik_down, with its dual interface Itavik_down.
#pragma once

#include <windows.h>

#include <unknwn.h>

namespace tavik {

// Creates a tavik_down, aggregated in outer when that is not null, and asks it for iid.
HRESULT create_tavik_down(IUnknown* outer, REFIID iid, void** result);

}  // namespace tavik
