#pragma once
// A stand-in for libusb-1.0 with one emulated FT232R on its bus, for running libftdi without
// hardware. An executable linked with it ahead of libftdi has libftdi's libusb calls land
// here. The bridge's serial side belongs to the test: what the host writes over USB comes out
// through the transmit handler, what the device behind the bridge sends goes in by Receive().

#include <functional>
#include <string>

namespace fakeusb {

struct Identity {
    std::string manufacturer;
    std::string product; // the description a listing shows
    std::string serial;
};

// The bridge's settings as the host left them, and what the host did with this device since
// it was plugged in.
struct Record {
    // The serial side, in the chip's own codes: parity 0 none, 1 odd, 2 even, 3 mark,
    // 4 space; stop bits 0 one, 1 one and a half, 2 two.
    int baud = 9600;
    int dataBits = 8;
    int parity = 0;
    int stopBits = 0;
    bool breakOn = false;
    int latencyMs = 16;
    int flowControl = 0; // the handshake bits of the request (RTS/CTS 0x100, DTR/DSR 0x200, XON/XOFF 0x400)
    int eventChar = -1;  // -1 while disabled
    int errorChar = -1;
    bool dtr = false;
    bool rts = false;

    // The host's doings.
    int controlRequests = 0; // the chip's vendor requests
    int stringReads = 0;     // string descriptors read
    int resets = 0;
    int rxPurges = 0; // of the bytes waiting for the host
    int txPurges = 0; // of the bytes the host sent and the line has not yet taken
    int opens = 0;
    int openHandles = 0;
    bool kernelDriverBound = true; // ftdi_sio holds the device: the serial port exists
    int detaches = 0;
    int attaches = 0;
    int statusOnlyPackets = 0; // sent when the latency timer ran out with nothing received
    int dataPackets = 0;
    long bytesToHost = 0;
    long bytesFromHost = 0;
    int refusedAfterUnplug = 0; // requests and transfers failed with LIBUSB_ERROR_NO_DEVICE
};

// A new device on the bus with ftdi_sio bound to it, as after plugging in; a device still
// there is unplugged first.
void PlugIn(const Identity &identity);
// The device goes: every request and transfer on its open handles fails with
// LIBUSB_ERROR_NO_DEVICE, and listings no longer show it.
void Unplug();
bool PluggedIn();

// Called with each bulk write of the host, on the host's thread; an empty handler drops them.
void SetTransmitHandler(std::function<void(const std::string &)> handler);
// Bytes on the bridge's receive line, from any thread; they wait in the bridge for the host.
void Receive(const std::string &bytes);

Record Recorded();  // of the device plugged in last, also after it went
int LiveContexts(); // libusb_init calls not yet ended by libusb_exit

} // namespace fakeusb
