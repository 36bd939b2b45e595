// Writing the data file: every row of the quantity schema in its order and C
// format.

#include "common/cformat.h"
#include "common/file_io.h"
#include "model/data_file.h"

namespace quorvane {
namespace {

/// A typed text on one line of its own: a line break would end the record
/// early and turn the rest into a line of its own (a key of the caller's
/// choosing). In the probability list a line break separates items, as a comma
/// does; every other control character becomes a blank.
std::string singleLine(std::string text, char replacement) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = replacement;
        } else if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f) {
            c = ' ';
        }
    }
    return text;
}

void appendRandomArguments(std::string& out, const std::vector<RandomArgument>& arguments) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const RandomArgument& a = arguments[i];
        out += cformat("%s_%d,%s,%d,%g,%g,%g,%g,%d", "Random_argument_", static_cast<int>(i),
                       singleLine(a.name, ' ').c_str(), a.editMode, a.min, a.max, a.below, a.above,
                       static_cast<int>(a.bins.size()));
        for (double bin : a.bins) out += cformat(",%g", bin);
        out += "\n";
    }
}

/// The value of one row as the file writes it, after "key,".
std::string valueText(const QuantityRow& row, const DataDocument& doc) {
    switch (row.kind) {
        case QuantityKind::Real:
        case QuantityKind::Derived:
            return cformat("%g", *realOf(row, doc));
        case QuantityKind::Whole:
        case QuantityKind::UnitIndex:
            return cformat("%d", *wholeOf(row, doc));
        case QuantityKind::Text:
            return singleLine(*textOf(row, doc), ' ');
        case QuantityKind::ValueList:
            return singleLine(*textOf(row, doc), ',');
        case QuantityKind::ValueCount:
            return cformat("%d", static_cast<int>(doc.research.values.size()));
        case QuantityKind::Curves: {
            const auto& shown = doc.data.Chart_show_curves;
            return cformat("%d,%d,%d", shown[0], shown[1], shown[2]);
        }
        case QuantityKind::Heading:
        case QuantityKind::RandomArguments:
            break;
    }
    return {};
}

void appendRow(std::string& out, const QuantityRow& row, const DataDocument& doc) {
    if (row.kind == QuantityKind::Heading) {
        out += row.key;
        out += '\n';
        return;
    }
    if (row.kind == QuantityKind::RandomArguments) {
        appendRandomArguments(out, doc.randomArguments);
        return;
    }
    out += row.key;
    out += ',';
    out += valueText(row, doc);
    if (row.dimension != Dimension::None) {
        out += ',';
        out += unitText(row, doc.data, Notation::File);
    }
    out += '\n';
}

}  // namespace

std::string formatDataFile(const DataDocument& document) {
    std::string out;
    for (const QuantityRow& row : quantitySchema()) appendRow(out, row, document);
    return out;
}

DataFileWriteResult WriteDataFile(const std::string& path, const DataDocument& document,
                                  Platform& platform) {
    DataFileWriteResult result;
    result.path = path;
    result.written = writeFileAtomically(path, formatDataFile(document));
    if (!result.written) platform.message(kCannotWriteMessage);
    return result;
}

}  // namespace quorvane
