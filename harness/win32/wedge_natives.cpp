#include "wedge_natives.h"

namespace wedge_test {

WedgeNatives::WedgeNatives()
    : getWindows_(library_.function<GetWindows>(Export::GetWindows)),
      setWindow_(library_.function<SetWindow>(Export::SetWindow)),
      sendText_(library_.function<SendText>(Export::SendText)),
      getLastErrorMessage_(library_.function<GetLastErrorMessage>(Export::GetLastErrorMessage)),
      destroy_(library_.function<Destroy>(Export::Destroy)) {}

bool WedgeNatives::ready() const {
    return getWindows_ != nullptr && setWindow_ != nullptr && sendText_ != nullptr &&
           getLastErrorMessage_ != nullptr && destroy_ != nullptr;
}

std::optional<std::vector<std::u16string>> WedgeNatives::getWindows() {
    const jobjectArray titles = getWindowsArray();
    if (titles == nullptr) {
        return std::nullopt;
    }
    return jni_->strings(titles);
}

jobjectArray WedgeNatives::getWindowsArray() { return getWindows_(jni_->env(), nullptr); }

bool WedgeNatives::setWindow(int32_t index) { return setWindow_(jni_->env(), nullptr, index) == JNI_TRUE; }

bool WedgeNatives::sendText(const std::vector<uint8_t>& bytes) { return sendText(jni_->byteArray(bytes)); }

bool WedgeNatives::sendText(jbyteArray text) { return sendText_(jni_->env(), nullptr, text) == JNI_TRUE; }

bool WedgeNatives::sendNullText() { return sendText(nullptr); }

std::optional<std::u16string> WedgeNatives::getLastErrorMessage() {
    const jstring message = getLastErrorMessage_(jni_->env(), nullptr);
    if (message == nullptr) {
        return std::nullopt;
    }
    return jni_->text(message);
}

void WedgeNatives::destroy() { destroy_(jni_->env(), nullptr); }

bool WedgeNatives::chooseTarget(const std::u16string& title) {
    const auto titles = getWindows();
    if (!titles) {
        return false;
    }
    for (size_t i = 0; i < titles->size(); ++i) {
        if ((*titles)[i] == title) {
            return setWindow(static_cast<int32_t>(i));
        }
    }
    destroy();
    return false;
}

std::vector<uint8_t> bytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

}  // namespace wedge_test
