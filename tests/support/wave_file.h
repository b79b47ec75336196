#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtEndian>
#include <gtest/gtest.h>

namespace testing_support {

// Writes a short PCM wave file (8 kHz, 16-bit mono) of `samples` silent
// samples, making its folder.
inline void WriteWave(const QString& path, int samples = 800)
{
    QDir().mkpath(QFileInfo(path).path());
    const QByteArray data(samples * 2, '\0');
    QByteArray wav;
    auto u32 = [&wav](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto u16 = [&wav](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav += "RIFF";
    u32(36 + static_cast<quint32>(data.size()));
    wav += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    wav += "data";
    u32(static_cast<quint32>(data.size()));
    wav += data;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(wav);
}

} // namespace testing_support
