// The libusb-1.0 calls libftdi makes, answered by the emulated bus. What libftdi imports but
// only its asynchronous reads and writes use (transfers submitted and waited for) is refused
// with LIBUSB_ERROR_NOT_SUPPORTED: nothing of ours goes that way.

#include "Ft232rBus.h"

#include <cstdlib>
#include <cstring>
#include <new>

using fakeusb::Bus;
using fakeusb::Chip;

namespace {

constexpr uint16_t kVendor = 0x0403;
constexpr uint16_t kProduct = 0x6001; // FT232R
constexpr uint16_t kRelease = 0x0600; // the bcdDevice by which libftdi knows an FT232R
constexpr uint8_t kBus = 1;
constexpr uint8_t kConfiguration = 1;
constexpr uint8_t kEndpointIn = 0x81;
constexpr uint8_t kEndpointOut = 0x02;
enum StringIndex : uint8_t { kManufacturer = 1, kProductName = 2, kSerial = 3 };

// A configuration descriptor in one allocation: one interface with its two bulk endpoints.
struct ConfigBlock {
    libusb_config_descriptor config;
    libusb_interface interface;
    libusb_interface_descriptor setting;
    libusb_endpoint_descriptor endpoints[2];
};

Chip &ChipOf(libusb_device_handle *handle) { return *handle->device->chip; }

int Refused(Chip &chip)
{
    ++chip.record.refusedAfterUnplug;
    return LIBUSB_ERROR_NO_DEVICE;
}

void Unreference(libusb_device *device)
{
    if (--device->references == 0)
        delete device;
}

} // namespace

extern "C" {

int libusb_init(libusb_context **context)
{
    auto held = Bus::instance().lock();
    ++Bus::instance().contexts;
    if (context)
        *context = new libusb_context;
    return LIBUSB_SUCCESS;
}

void libusb_exit(libusb_context *context)
{
    auto held = Bus::instance().lock();
    --Bus::instance().contexts;
    delete context;
}

ssize_t libusb_get_device_list(libusb_context *, libusb_device ***list)
{
    auto held = Bus::instance().lock();
    const auto chip = Bus::instance().plugged();
    auto **devices = static_cast<libusb_device **>(std::calloc(2, sizeof(libusb_device *)));
    if (!devices)
        return LIBUSB_ERROR_NO_MEM;
    if (chip) // a device object for each listing, as libusb has one per enumeration
        devices[0] = new libusb_device{1, chip};
    *list = devices;
    return chip ? 1 : 0;
}

void libusb_free_device_list(libusb_device **list, int unreferenceDevices)
{
    if (!list)
        return;
    auto held = Bus::instance().lock();
    if (unreferenceDevices)
        for (libusb_device **d = list; *d; ++d)
            Unreference(*d);
    std::free(list);
}

libusb_device *libusb_ref_device(libusb_device *device)
{
    auto held = Bus::instance().lock();
    ++device->references;
    return device;
}

void libusb_unref_device(libusb_device *device)
{
    if (!device)
        return;
    auto held = Bus::instance().lock();
    Unreference(device);
}

int libusb_get_device_descriptor(libusb_device *device, libusb_device_descriptor *descriptor)
{
    auto held = Bus::instance().lock();
    const fakeusb::Identity &id = device->chip->identity;
    *descriptor = {};
    descriptor->bLength = LIBUSB_DT_DEVICE_SIZE;
    descriptor->bDescriptorType = LIBUSB_DT_DEVICE;
    descriptor->bcdUSB = 0x0200;
    descriptor->bMaxPacketSize0 = 8;
    descriptor->idVendor = kVendor;
    descriptor->idProduct = kProduct;
    descriptor->bcdDevice = kRelease;
    descriptor->iManufacturer = id.manufacturer.empty() ? 0 : kManufacturer;
    descriptor->iProduct = id.product.empty() ? 0 : kProductName;
    descriptor->iSerialNumber = id.serial.empty() ? 0 : kSerial;
    descriptor->bNumConfigurations = 1;
    return LIBUSB_SUCCESS;
}

int libusb_get_config_descriptor(libusb_device *, uint8_t index, libusb_config_descriptor **config)
{
    if (index != 0)
        return LIBUSB_ERROR_NOT_FOUND;
    auto *block = new (std::nothrow) ConfigBlock{};
    if (!block)
        return LIBUSB_ERROR_NO_MEM;
    for (int i = 0; i < 2; ++i) {
        libusb_endpoint_descriptor &e = block->endpoints[i];
        e.bLength = LIBUSB_DT_ENDPOINT_SIZE;
        e.bDescriptorType = LIBUSB_DT_ENDPOINT;
        e.bEndpointAddress = i == 0 ? kEndpointIn : kEndpointOut;
        e.bmAttributes = LIBUSB_TRANSFER_TYPE_BULK;
        e.wMaxPacketSize = 64;
    }
    block->setting.bLength = LIBUSB_DT_INTERFACE_SIZE;
    block->setting.bDescriptorType = LIBUSB_DT_INTERFACE;
    block->setting.bNumEndpoints = 2;
    block->setting.bInterfaceClass = LIBUSB_CLASS_VENDOR_SPEC;
    block->setting.endpoint = block->endpoints;
    block->interface.altsetting = &block->setting;
    block->interface.num_altsetting = 1;
    block->config.bLength = LIBUSB_DT_CONFIG_SIZE;
    block->config.bDescriptorType = LIBUSB_DT_CONFIG;
    block->config.bNumInterfaces = 1;
    block->config.bConfigurationValue = kConfiguration;
    block->config.bmAttributes = 0x80; // bus powered
    block->config.MaxPower = 45;       // 90 mA
    block->config.interface = &block->interface;
    *config = &block->config;
    return LIBUSB_SUCCESS;
}

void libusb_free_config_descriptor(libusb_config_descriptor *config)
{
    delete reinterpret_cast<ConfigBlock *>(config); // the block begins with the descriptor
}

uint8_t libusb_get_bus_number(libusb_device *) { return kBus; }

uint8_t libusb_get_device_address(libusb_device *device)
{
    auto held = Bus::instance().lock();
    return device->chip->address;
}

int libusb_open(libusb_device *device, libusb_device_handle **handle)
{
    auto held = Bus::instance().lock();
    Chip &chip = *device->chip;
    if (!chip.present)
        return Refused(chip);
    ++device->references;
    *handle = new libusb_device_handle{device};
    ++chip.record.opens;
    ++chip.record.openHandles;
    return LIBUSB_SUCCESS;
}

// Closing does not give the interface back to the kernel's driver: only a release does.
void libusb_close(libusb_device_handle *handle)
{
    if (!handle)
        return;
    auto held = Bus::instance().lock();
    --ChipOf(handle).record.openHandles;
    Unreference(handle->device);
    delete handle;
}

int libusb_get_configuration(libusb_device_handle *handle, int *configuration)
{
    auto held = Bus::instance().lock();
    if (!ChipOf(handle).present)
        return Refused(ChipOf(handle));
    *configuration = kConfiguration; // the kernel configured the device when it came
    return LIBUSB_SUCCESS;
}

int libusb_set_configuration(libusb_device_handle *handle, int configuration)
{
    auto held = Bus::instance().lock();
    Chip &chip = ChipOf(handle);
    if (!chip.present)
        return Refused(chip);
    if (configuration != kConfiguration)
        return LIBUSB_ERROR_NOT_FOUND;
    return handle->claimed || chip.record.kernelDriverBound ? LIBUSB_ERROR_BUSY : LIBUSB_SUCCESS;
}

int libusb_set_auto_detach_kernel_driver(libusb_device_handle *handle, int enable)
{
    auto held = Bus::instance().lock();
    handle->autoDetach = enable != 0;
    return LIBUSB_SUCCESS;
}

int libusb_detach_kernel_driver(libusb_device_handle *handle, int interface)
{
    auto held = Bus::instance().lock();
    Chip &chip = ChipOf(handle);
    if (!chip.present)
        return Refused(chip);
    if (interface != 0)
        return LIBUSB_ERROR_NOT_FOUND;
    if (!chip.record.kernelDriverBound)
        return LIBUSB_ERROR_NOT_FOUND;
    chip.record.kernelDriverBound = false;
    ++chip.record.detaches;
    return LIBUSB_SUCCESS;
}

// ftdi_sio holds the interface until it is detached; with automatic detaching the claim
// detaches it and the release binds it again.
int libusb_claim_interface(libusb_device_handle *handle, int interface)
{
    auto held = Bus::instance().lock();
    Chip &chip = ChipOf(handle);
    if (!chip.present)
        return Refused(chip);
    if (interface != 0)
        return LIBUSB_ERROR_NOT_FOUND;
    if (handle->claimed)
        return LIBUSB_SUCCESS;
    if (chip.record.kernelDriverBound) {
        if (!handle->autoDetach)
            return LIBUSB_ERROR_BUSY;
        chip.record.kernelDriverBound = false;
        ++chip.record.detaches;
        handle->detachedDriver = true;
    }
    handle->claimed = true;
    return LIBUSB_SUCCESS;
}

int libusb_release_interface(libusb_device_handle *handle, int interface)
{
    auto held = Bus::instance().lock();
    Chip &chip = ChipOf(handle);
    if (interface != 0 || !handle->claimed)
        return LIBUSB_ERROR_NOT_FOUND;
    handle->claimed = false;
    if (!chip.present)
        return Refused(chip);
    if (handle->autoDetach && handle->detachedDriver) {
        handle->detachedDriver = false;
        chip.record.kernelDriverBound = true;
        ++chip.record.attaches;
    }
    return LIBUSB_SUCCESS;
}

int libusb_get_string_descriptor_ascii(libusb_device_handle *handle, uint8_t index, unsigned char *data, int length)
{
    auto held = Bus::instance().lock();
    Chip &chip = ChipOf(handle);
    if (!chip.present)
        return Refused(chip);
    if (index == 0 || length < 1)
        return LIBUSB_ERROR_INVALID_PARAM;
    const fakeusb::Identity &id = chip.identity;
    const std::string *text = index == kManufacturer ? &id.manufacturer
        : index == kProductName                      ? &id.product
        : index == kSerial                           ? &id.serial
                                                     : nullptr;
    if (!text)
        return LIBUSB_ERROR_PIPE;
    ++chip.record.stringReads;
    const int n = std::min<int>(int(text->size()), length - 1);
    std::memcpy(data, text->data(), std::size_t(n));
    data[n] = 0;
    return n;
}

int libusb_control_transfer(libusb_device_handle *handle, uint8_t requestType, uint8_t request, uint16_t value,
                            uint16_t index, unsigned char *data, uint16_t length, unsigned int)
{
    auto held = Bus::instance().lock();
    return Bus::instance().control(ChipOf(handle), requestType, request, value, index, data, length);
}

int libusb_bulk_transfer(libusb_device_handle *handle, unsigned char endpoint, unsigned char *data, int length,
                         int *actual, unsigned int timeoutMs)
{
    int ignored = 0;
    int &done = actual ? *actual : ignored;
    done = 0;
    auto held = Bus::instance().lock();
    Chip &chip = ChipOf(handle);
    if (!chip.present)
        return Refused(chip);
    if (!handle->claimed && chip.record.kernelDriverBound)
        return LIBUSB_ERROR_BUSY; // the interface is ftdi_sio's
    if (endpoint == kEndpointIn)
        return Bus::instance().bulkIn(held, chip, data, length, &done, timeoutMs);
    if (endpoint != kEndpointOut)
        return LIBUSB_ERROR_PIPE;
    chip.record.bytesFromHost += length;
    const auto transmit = Bus::instance().transmit;
    held.unlock(); // the handler may take its time; the chip goes on meanwhile
    if (transmit)
        transmit(std::string(reinterpret_cast<const char *>(data), std::size_t(length)));
    done = length;
    return LIBUSB_SUCCESS;
}

libusb_transfer *libusb_alloc_transfer(int isoPackets)
{
    const std::size_t size = sizeof(libusb_transfer) + std::size_t(isoPackets) * sizeof(libusb_iso_packet_descriptor);
    return static_cast<libusb_transfer *>(std::calloc(1, size));
}

void libusb_free_transfer(libusb_transfer *transfer) { std::free(transfer); }

int libusb_submit_transfer(libusb_transfer *) { return LIBUSB_ERROR_NOT_SUPPORTED; }

int libusb_cancel_transfer(libusb_transfer *) { return LIBUSB_ERROR_NOT_FOUND; }

int libusb_handle_events_timeout(libusb_context *, timeval *) { return LIBUSB_ERROR_NOT_SUPPORTED; }

int libusb_handle_events_timeout_completed(libusb_context *, timeval *, int *) { return LIBUSB_ERROR_NOT_SUPPORTED; }

} // extern "C"
