#pragma once

// Helpers of the imaging tests: pictures written and decoded by ImageMagick's `convert` in a
// temporary folder, and our readers run on a file or on memory.

#include "platform/imaging/imaging.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <gtest/gtest.h>

#include <vector>

using ZorReader = HGLOBAL (*)(HISSRC, UINT*, UINT*);

// Every test starts the library, as the modules that use it do.
class ImagingTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(_ISInitialize("imaging tests")); }
};

// The path of `name` in this program's temporary folder.
QString tempPath(const QString& name);

// Runs `convert` with the arguments; fails the test when it does not succeed.
void runConvert(const QStringList& arguments);
// The 37 x 23 test picture (gradient, circle, rectangle) as a PPM file of 8 bits a channel,
// made once.
QString basePicture();
// ImageMagick's own decode of the file: RGB bytes, 8 bits each, rows without padding.
QByteArray magickRgb(const QString& path);

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

struct Decoded
{
    bool ok {false};
    UINT width {0};
    UINT height {0};
    UINT error {0};
    QByteArray pixels;
};

// Reads through a file source or a memory source with the reader; frees the block.
Decoded decodeFile(const QString& path, ZorReader reader);
Decoded decodeMemory(const QByteArray& bytes, ZorReader reader);
