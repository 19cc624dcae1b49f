#pragma once
// The receive side of the link. Every byte the analyser sends is taken as soon as the
// driver announces it, into the frame parser, whatever the windows are doing; each frame is
// then sorted: the reply a command waits for, or a data frame for the acquisition. A
// command waits for its reply in an event loop woken by the parser or by the silence that
// ends a receive; the acquisition takes data frames without waiting.

#include "devicelink/Driver.h"

#include <QByteArray>
#include <functional>

namespace pxr3 {

// How a receive ended: a whole frame (or bytes that are none), the silence of the read
// timeout in the middle of one, a driver error, or the wait abandoned as the program ends.
enum class ReceiveEnd { Complete, Silence, ReadError, Abandoned };

struct Received {
    ReceiveEnd end = ReceiveEnd::Complete;
    QByteArray bytes;
    FtStatus status = FT_OK; // the driver's, after a read error
    bool intact = false;     // a whole frame whose checksum is right
};

// From the device's opening to its closing; closing drops whatever is held.
void StartReceiving(FtHandle handle);
void StopReceiving();
bool DeviceOpen(); // between the two, even when the device has failed since

// Data frames in arrival order, each with damaged frames and stray bytes among them as
// failed readings.
bool DataFrameWaiting();
int IntactFramesWaiting(); // good frames among them
Received TakeDataFrame();
void DropDataFrames(); // a new measurement starts from the analyser's next frame
// Called whenever a data frame or a failed reading joins the queue, so that its taker can
// sleep until then.
void SetDataQueuedHandler(std::function<void()> handler);

// Called before the command is written: its reply is the next frame of this body length
// that begins after everything received so far.
void ExpectReply(int bodyLength);
void ForgetReply(); // the command could not be written
// Waits for the expected reply, or for 900 ms of silence.
Received AwaitReply();
// Ends a reply wait at once (the program ends).
void AbandonReplyWait();

} // namespace pxr3
