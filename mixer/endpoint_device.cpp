#include "mixer/endpoint_device.h"

#include <objbase.h>

#include "mixer/endpoint_apartment.h"

namespace {

// PKEY_Device_FriendlyName.
const PROPERTYKEY kFriendlyName = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};

class PropertyValue {
 public:
  PropertyValue() { PropVariantInit(&value_); }
  ~PropertyValue() { PropVariantClear(&value_); }
  PropertyValue(const PropertyValue&) = delete;
  PropertyValue& operator=(const PropertyValue&) = delete;
  PROPVARIANT* out() { return &value_; }
  const wchar_t* text() const { return value_.vt == VT_LPWSTR ? value_.pwszVal : nullptr; }

 private:
  PROPVARIANT value_;
};

}  // namespace

// Converts as many whole characters as fit; never splits a surrogate pair or
// a double-byte character. Control characters become blanks: the text is a
// menu label.
void narrowToFit(const wchar_t* wide, char* out, int size) {
  out[0] = '\0';
  int length = lstrlenW(wide);
  if (length > size - 1) length = size - 1;
  while (length > 0) {
    if (IS_HIGH_SURROGATE(wide[length - 1])) {
      --length;
      continue;
    }
    const int written =
        WideCharToMultiByte(CP_ACP, 0, wide, length, out, size - 1, nullptr, nullptr);
    if (written > 0) {
      out[written] = '\0';
      break;
    }
    --length;
  }
  for (char* c = out; *c != '\0'; ++c)
    if (static_cast<unsigned char>(*c) < 0x20) *c = ' ';
}

IMMDeviceEnumerator* createDeviceEnumerator() {
  if (!enterComApartment()) return nullptr;
  IMMDeviceEnumerator* enumerator = nullptr;
  if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                              __uuidof(IMMDeviceEnumerator),
                              reinterpret_cast<void**>(&enumerator))))
    return nullptr;
  return enumerator;
}

bool isActiveEndpoint(IMMDevice* device) {
  DWORD state = 0;
  return SUCCEEDED(device->GetState(&state)) && state == DEVICE_STATE_ACTIVE;
}

bool endpointIdOf(IMMDevice* device, wchar_t (&id)[kEndpointIdSize]) {
  TaskText text;
  if (FAILED(device->GetId(text.out())) || text.get() == nullptr) return false;
  char stored[kEndpointIdSize];
  if (!endpointIdToText(text.get(), stored, kEndpointIdSize)) return false;  // could not be kept
  lstrcpynW(id, text.get(), kEndpointIdSize);
  return id[0] != L'\0';
}

void friendlyNameOf(IMMDevice* device, char* name, int size) {
  name[0] = '\0';
  ComRef<IPropertyStore> store;
  if (FAILED(device->OpenPropertyStore(STGM_READ, store.out())) || !store) return;
  PropertyValue value;
  if (FAILED(store->GetValue(kFriendlyName, value.out())) || value.text() == nullptr) return;
  narrowToFit(value.text(), name, size);
}

bool endpointIdToText(const wchar_t* id, char* text, int size) {
  const int length = lstrlenW(id);
  if (length == 0 || length >= kEndpointIdSize) return false;
  const int written = WideCharToMultiByte(CP_UTF8, 0, id, length, text, size - 1, nullptr, nullptr);
  if (written <= 0 || written > kLongestStoredId) return false;
  text[written] = '\0';
  return true;
}

bool endpointIdFromText(const char* text, wchar_t (&id)[kEndpointIdSize]) {
  const int written =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, id, kEndpointIdSize);
  return written > 1;  // the terminator counts
}

bool EndpointList::open(EDataFlow flow) {
  enumerator_.reset();
  collection_.reset();
  count_ = 0;
  *enumerator_.out() = createDeviceEnumerator();
  if (!enumerator_) return false;
  UINT count = 0;
  if (FAILED(enumerator_->EnumAudioEndpoints(flow, DEVICE_STATE_ACTIVE, collection_.out())) ||
      !collection_ || FAILED(collection_->GetCount(&count)))
    return false;
  count_ = count;
  return true;
}

IMMDevice* EndpointList::device(unsigned index) const {
  IMMDevice* device = nullptr;
  if (index >= count_ || FAILED(collection_->Item(index, &device))) return nullptr;
  return device;
}

bool EndpointList::entry(unsigned index, wchar_t (&id)[kEndpointIdSize], char* name,
                         int nameSize) const {
  ComRef<IMMDevice> device(this->device(index));
  if (!device || !endpointIdOf(device.get(), id)) return false;
  friendlyNameOf(device.get(), name, nameSize);
  return true;
}
