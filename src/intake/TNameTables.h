#pragma once
// Names of device types, detector sets, channels and carrier gases for the host's index bytes.

#include <QString>

/**
 * Constant bilingual tables. Every lookup clamps its index to the table's last row and returns
 * the half of the active language (tarvex::Pick). Types without a table give an empty text.
 */
class TNameTables {
public:
    /// Row bType_Device / bChr_TypeDevice of the device types (13 rows).
    static QString DeviceTypeName(int deviceType);
    /// The whole detector set of a device type, row bType_MultiDet of the type's table.
    static QString DetectorSetName(int deviceType, int multiDet);
    /// The channel names of a device type, "$"-separated within each language half, not picked.
    static QString ChannelNamesRaw(int deviceType, int multiDet);
    /// A carrier gas (print-settings bChrgGasType), 4 rows.
    static QString CarrierGasName(int index);
    /// The one detector of device type 6, also its detector-set name.
    static QString SingleDetectorName6();
};
