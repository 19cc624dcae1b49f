#pragma once
// The analyser's one-letter commands and the data frames it sends on its own while it
// measures. Outcomes are in link().CommandOk, decoded values in link() and state().

#include "devicelink/USB_KOM.h"

#include <QString>

namespace pxr3 {

// Sends one command ("I", "R", "W", "B", "E", "D"; any other letter sends a bare frame),
// reads and decodes its reply.
void MCA_Command(const QString &Cmd);

// Takes and decodes the oldest data frame received; link().Reply is "DATA Ok" after a good
// one, for display. Never waits: with no frame there yet it changes nothing but CommandOk (0).
// The result is also kept in link().LastReading.
DataReading USB_ReadData();
// A data frame (or a failed reading) is there for USB_ReadData.
bool DataFrameReady();

// The identity query of the connection, run inside it: true when an analyser answered.
bool IdentifyAnalyser();

} // namespace pxr3
