#pragma once

// The enhanced metafile player: the header's frame and reference device give the picture's
// size and the mapping of the records' device units onto it; records then play one by one
// until the end-of-file record.

#include "platform/imaging/metafile/metafileplayer.h"

class CEmfPlayer : public CMetafilePlayer
{
public:
    CEmfPlayer(std::span<const BYTE> data, const ZorMetafileOptions& options);

    // Whether the data starts like an enhanced metafile (a header record with its signature).
    static bool recognises(std::span<const BYTE> data);

    UINT play() override;

private:
    UINT readHeader(const CRecordReader& record);
    // Plays one record that the record-level checks accepted; eIS_OK to go on.
    UINT playRecord(std::uint32_t type, const CRecordReader& record);
    UINT playPoints(std::uint32_t type, const CRecordReader& record);
    UINT playPolyPoints(std::uint32_t type, const CRecordReader& record);
    UINT playText(std::uint32_t type, const CRecordReader& record);
    UINT playObject(std::uint32_t type, const CRecordReader& record);
    void setFixedMapping(int mapMode);

    // The reference device of the header: its size in pixels and in 0.01 mm.
    double m_deviceX {1};
    double m_deviceY {1};
    double m_hundredthMmX {1};
    double m_hundredthMmY {1};
};
