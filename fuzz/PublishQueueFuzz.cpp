// The queue of unpublished cycles as the program reads it at start: whatever a crash or a full
// disk left, what is read is whole JSON objects of one line each, and a queue written back reads
// back the same.

#include "core/CommLog.h"
#include "core/ProgramFolder.h"
#include "fuzz/FuzzSupport.h"
#include "records/MqttPublisher.h"
#include "records/PublishQueue.h"

#include <QJsonDocument>

using namespace pxr3;

namespace {

std::vector<QByteArray> Messages(const PublishQueue &queue)
{
    std::vector<QByteArray> messages;
    for (int i = 0; i < queue.size(); ++i)
        messages.push_back(queue.at(i));
    return messages;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::SetUpProgram(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::WriteProgramFile(QString::fromLatin1(kPublishQueueFile), data, size);
    PublishQueue queue(path, 64);
    queue.load();
    commLog().clear();
    if (queue.size() > 64)
        fuzz::Broken("more messages than the queue holds");
    for (const QByteArray &message : Messages(queue))
        if (message.contains('\n') || !QJsonDocument::fromJson(message).isObject())
            fuzz::Broken("a message that is not one JSON object on one line", QString::fromUtf8(message));
    const std::vector<QByteArray> read = Messages(queue);
    if (!queue.save())
        fuzz::Broken("the queue could not be written back");
    PublishQueue again(path, 64);
    again.load();
    commLog().clear();
    if (Messages(again) != read)
        fuzz::Broken("the queue written back reads differently");
    return 0;
}
