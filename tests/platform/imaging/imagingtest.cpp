#include "imagingtest.h"

#include "platform/types/globalmemory.h"

#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>

QString tempPath(const QString& name)
{
    static QTemporaryDir folder;
    return folder.filePath(name);
}

namespace {

QByteArray convertOutput(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("convert"), arguments);
    const bool finished = process.waitForFinished(30000);
    EXPECT_TRUE(finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        << "convert " << arguments.join(QLatin1Char(' ')).toStdString() << ": "
        << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

Decoded finish(HGLOBAL block, UINT width, UINT height)
{
    Decoded result;
    result.error = _ISGetLastError();
    if (!block)
        return result;
    result.ok = true;
    result.width = width;
    result.height = height;
    const auto* pixels = static_cast<const char*>(GlobalLock(block));
    EXPECT_EQ(GlobalSize(block), std::size_t(width) * height * 3);
    result.pixels = QByteArray(pixels, qsizetype(GlobalSize(block)));
    GlobalUnlock(block);
    GlobalFree(block);
    return result;
}

Decoded decodeSource(HISSRC source, ZorReader reader)
{
    if (!source) {
        Decoded failed;
        failed.error = _ISGetLastError();
        return failed;
    }
    UINT width = 0;
    UINT height = 0;
    HGLOBAL block = reader(source, &width, &height);
    const Decoded result = finish(block, width, height);
    _ISCloseSource(source);
    return result;
}

} // namespace

void runConvert(const QStringList& arguments)
{
    convertOutput(arguments);
}

QString basePicture()
{
    const QString path = tempPath(QStringLiteral("base.ppm"));
    if (!QFile::exists(path)) {
        runConvert(
            {"-size", "37x23", "gradient:red-blue", "-fill", "yellow", "-draw", "circle 18,11 18,4",
                "-fill", "#20c040", "-draw", "rectangle 2,2 9,8", "-depth", "8", path});
    }
    return path;
}

QByteArray magickRgb(const QString& path)
{
    // ImageMagick keeps a TGA's rows in the order stored and only notes the orientation the
    // header gives; -auto-orient turns them the right way up.
    return convertOutput({path, "-auto-orient", "-depth", "8", "rgb:-"});
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

Decoded decodeFile(const QString& path, ZorReader reader)
{
    return decodeSource(_ISOpenFileSource(QFile::encodeName(path).constData()), reader);
}

Decoded decodeMemory(const QByteArray& bytes, ZorReader reader)
{
    return decodeSource(
        _ISOpenMemorySource(reinterpret_cast<const BYTE*>(bytes.constData()), UINT(bytes.size())),
        reader);
}
