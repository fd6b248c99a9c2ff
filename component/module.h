// The component module: its instance handle, its lock count, and the type information that
// its objects serve IDispatch from. The exports DllCanUnloadNow and DllGetClassObject and the
// entry point live with it.
#pragma once

#include <windows.h>

#include <oaidl.h>

namespace tavik {

// The lock count counts live objects, LockServer locks and outside references to the class
// factory; the module may be unloaded when it is 0.
void module_lock();
void module_unlock();

HINSTANCE module_instance();

// The type information of Itavik_down from the registered type library, loaded at the first
// call and kept until the module is unloaded. The pointer is borrowed, not added to.
HRESULT dispatch_type_info(LCID lcid, ITypeInfo** info);

}  // namespace tavik
