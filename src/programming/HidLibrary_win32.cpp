#include "programming/HidLibrary.h"

#include <windows.h>
#include <setupapi.h>
#include <hidsdi.h>

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <vector>

#include "ui/Handles.h"
#include "ui/Text.h"

// HID.DLL's entry points, one pointer each with the type of its declaration.
#define HID_ENTRY_POINTS(X)          \
    X(HidD_GetHidGuid)               \
    X(HidD_GetManufacturerString)    \
    X(HidD_GetProductString)         \
    X(HidD_GetFeature)               \
    X(HidD_SetFeature)

struct HidApi {
#define HID_POINTER(name) decltype(&::name) name = nullptr;
    HID_ENTRY_POINTS(HID_POINTER)
#undef HID_POINTER
    GUID hidGuid{};
};

namespace {

const char kUnknownDevice[] = "Unknown device";

// Loads the library and resolves every entry point; null when any of it is missing.
// The module stays loaded for the rest of the process.
const HidApi* ResolveHidApi()
{
    static HidApi api;
    HMODULE module = LoadLibraryW(L"hid.dll");
    if (!module)
        return nullptr;
    bool complete = true;
#define HID_RESOLVE(name)                                                                  \
    api.name = reinterpret_cast<decltype(api.name)>(                                       \
        reinterpret_cast<void (*)()>(GetProcAddress(module, #name)));                      \
    complete = complete && api.name != nullptr;
    HID_ENTRY_POINTS(HID_RESOLVE)
#undef HID_RESOLVE
    if (!complete) {
        FreeLibrary(module);
        api = HidApi{};
        return nullptr;
    }
    api.HidD_GetHidGuid(&api.hidGuid);
    return &api;
}

const HidApi* LoadHidApi()
{
    static const HidApi* api = ResolveHidApi();
    return api;
}

// A device-information set, destroyed with SetupDiDestroyDeviceInfoList.
struct InfoSetTraits {
    using Type = HDEVINFO;
    static HDEVINFO Empty() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HDEVINFO set) { return set != INVALID_HANDLE_VALUE; }
    static void Close(HDEVINFO set) { SetupDiDestroyDeviceInfoList(set); }
};
using DeviceHandle = TKernelHandle;
using DeviceInfoSet = TUniqueHandle<InfoSetTraits>;

// Opens a device for one transfer or one string query.
DeviceHandle OpenDevice(const std::string& path)
{
    return DeviceHandle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
}

// The path of one device interface; empty when the system gives none.
std::string GetDevicePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& data)
{
    DWORD size = 0;
    if (SetupDiGetDeviceInterfaceDetailA(set, &data, nullptr, 0, &size, nullptr) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A))
        return {};
    // DWORD elements keep the record aligned; the spare element ends the text for sure.
    std::vector<DWORD> storage(size / sizeof(DWORD) + 2, 0);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (!SetupDiGetDeviceInterfaceDetailA(set, &data, detail, size, nullptr, nullptr))
        return {};
    const size_t room = size - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
    return std::string(detail->DevicePath, strnlen(detail->DevicePath, room));
}

// One of the device's strings; empty when the query fails. The buffer is zero-filled
// and its last character is never handed out, so the text always ends inside it.
template <typename Query>
std::string DeviceString(Query query, HANDLE device)
{
    wchar_t text[250] = {};
    if (!query(device, text, sizeof text - sizeof text[0]))
        return {};
    return FromWide(std::wstring(text, wcsnlen(text, sizeof text / sizeof text[0] - 1)));
}

HidDevice DescribeDevice(const HidApi& api, const std::string& path)
{
    HidDevice device{path, kUnknownDevice, kUnknownDevice};
    DeviceHandle handle = OpenDevice(path);
    if (!handle)
        return device;
    device.manufacturer = DeviceString(api.HidD_GetManufacturerString, handle.Get());
    if (device.manufacturer.size() >= 3)
        device.product = DeviceString(api.HidD_GetProductString, handle.Get());
    return device;
}

} // namespace

HIDLibrary::HIDLibrary() : api_(LoadHidApi()) {}

std::vector<HidDevice> HIDLibrary::Enumerate(const std::string& filter)
{
    std::vector<HidDevice> found;
    if (!api_)
        return found;
    DeviceInfoSet set(SetupDiGetClassDevsA(&api_->hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set)
        return found;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInterfaces(set.Get(), nullptr, &api_->hidGuid, index, &data))
            break;
        std::string path = GetDevicePath(set.Get(), data);
        if (!path.empty() && path.find(filter) != std::string::npos)
            found.push_back(DescribeDevice(*api_, path));
    }
    return found;
}

bool HIDLibrary::GetFeature(const std::string& path, uint8_t* buffer, uint32_t length)
{
    if (!api_)
        return false;
    DeviceHandle handle = OpenDevice(path);
    return handle && api_->HidD_GetFeature(handle.Get(), buffer, length);
}

bool HIDLibrary::SetFeature(const std::string& path, uint8_t* buffer, uint32_t length)
{
    if (!api_)
        return false;
    DeviceHandle handle = OpenDevice(path);
    return handle && api_->HidD_SetFeature(handle.Get(), buffer, length);
}
