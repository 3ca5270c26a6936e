#include "dll_natives.h"

namespace wedge_bench {

using wedge_test::Export;

DllNatives::DllNatives()
    : getWindows_(library_.function<GetWindows>(Export::GetWindows)),
      setWindow_(library_.function<SetWindow>(Export::SetWindow)),
      sendText_(library_.function<SendText>(Export::SendText)),
      getLastErrorMessage_(library_.function<GetLastErrorMessage>(Export::GetLastErrorMessage)),
      destroy_(library_.function<Destroy>(Export::Destroy)) {}

bool DllNatives::ready() const {
    return getWindows_ != nullptr && setWindow_ != nullptr && sendText_ != nullptr &&
           getLastErrorMessage_ != nullptr && destroy_ != nullptr;
}

}  // namespace wedge_bench
