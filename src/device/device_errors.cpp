#include "device/device_errors.h"

namespace brontal {

const char* DeviceErrorName(DeviceError error) {
    switch (error) {
#define BRONTAL_DEVICE_ERROR_NAME(name, message) \
    case DeviceError::name: return #name;
        BRONTAL_DEVICE_ERRORS(BRONTAL_DEVICE_ERROR_NAME)
#undef BRONTAL_DEVICE_ERROR_NAME
    }
    return "UnknownDeviceError";
}

const char* DeviceErrorMessage(DeviceError error) {
    switch (error) {
#define BRONTAL_DEVICE_ERROR_MESSAGE(name, message) \
    case DeviceError::name: return message;
        BRONTAL_DEVICE_ERRORS(BRONTAL_DEVICE_ERROR_MESSAGE)
#undef BRONTAL_DEVICE_ERROR_MESSAGE
    }
    return "unknown device error";
}

}  // namespace brontal
