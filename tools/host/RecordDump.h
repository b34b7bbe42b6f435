#pragma once
// What the printer sees: the print-job record, as the program's own decoders fill it, in JSON.

#include <QJsonObject>

class TChromModule;
class TPrintSettings;

namespace host {

/**
 * The record in the layout of a job file (areas of field name -> value, tables as arrays of row
 * objects, the signal as arrays), plus "detectors" (the detector table) and "derived" (the
 * texts built from the record). `settings` may be null when no print settings were read.
 */
QJsonObject dumpRecord(const TChromModule& rec, const TPrintSettings* settings);

/// Reads the published blocks 10, 1 (or 2 when there is no block 1) and 9 without clearing any
/// unread mark, decodes them into `rec` and dumps it. False with `error` when nothing is published.
bool inspectPublished(TChromModule& rec, QJsonObject* out, QString* error);

} // namespace host
