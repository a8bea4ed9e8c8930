#pragma once

// The Windows metafile player: the placeable header (when there is one) gives the picture's
// size and the initial window; records then play one by one until the end-of-file record.

#include "platform/imaging/metafile/metafileplayer.h"

class CWmfPlayer : public CMetafilePlayer
{
public:
    CWmfPlayer(std::span<const BYTE> data, const ZorMetafileOptions& options);

    // Whether the data starts like a Windows metafile (placeable header, or a metafile header
    // of a memory or disk metafile).
    static bool recognises(std::span<const BYTE> data);

    UINT play() override;

private:
    // The size of a metafile without the placeable header: its first SetWindowExt.
    UINT plainSize(std::size_t firstRecord, std::int64_t& width, std::int64_t& height) const;
    UINT playRecord(unsigned type, const CRecordReader& record);
    UINT playPoints(unsigned type, const CRecordReader& record);
    UINT playText(unsigned type, const CRecordReader& record);
    UINT playObject(unsigned type, const CRecordReader& record);
    UINT playBitmap(unsigned type, const CRecordReader& record);
    void setWindow();
};
