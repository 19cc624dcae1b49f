#pragma once
// What every fuzz target needs before its first input: the application object, a scratch
// program folder that the readers find their files in, and message boxes that go nowhere.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace pxr3::fuzz {

// Once per process, from LLVMFuzzerInitialize.
void SetUpProgram(int *argc, char ***argv);

// The fuzz input as the bytes of a file of the program folder; returns its path.
QString WriteProgramFile(const QString &name, const uint8_t *data, std::size_t size);

// A property the reader must keep does not hold: says which and aborts, so the fuzzer keeps
// the input as a crash.
[[noreturn]] void Broken(const char *what, const QString &detail = QString());

} // namespace pxr3::fuzz
