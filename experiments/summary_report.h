#pragma once
/// Summary reports: the reduced results (event 77) of a run log condensed into
/// one line per full run, describing the molecule's shape, the shares of its
/// surface and the effective surface energies, one file without porosity and
/// one with.

#include <string>

#include "common/platform.h"

namespace quorvane {

constexpr int kCmdCreateSummaryReport = 32841;

constexpr const char* kSummaryHeader =
    "A,B,C,Ka,Kbc,Sf,Se,Sv,S1,Sf,S11,Sw,S2,s1,sf,s11,sw,s2,g,s,v,r,p,d_lr";

/// The five combinations of face, edge and vertex contact on the surface of
/// a box-shaped molecule with edges A, B, C whose contact weights are shared
/// as Sf (faces), Se (edges) and Sv (vertices).
struct SurfaceShares {
    double s1 = 0;   ///< "S1"
    double sf = 0;   ///< "Sf", the second cell of that name
    double s11 = 0;  ///< "S11"
    double sw = 0;   ///< "Sw"
    double s2 = 0;   ///< "S2"
};

SurfaceShares surfaceShares(double A, double B, double C, double Sf, double Se, double Sv);

/// The values of one event-77 row that a summary line is made of.
struct SummarySource {
    double a = 0, b = 0, c = 0;  ///< nm
    double edges = 0;            ///< "Sedg"
    double vertices = 0;         ///< "Svrt"
    double supercooling = 0;     ///< "dG"
    double surfaceEnergy = 0;    ///< "Sm"
    double rate = 0;             ///< "Av.Rate as part cont."
    double roughness = 0;
    double porosity = 0;
    double layersBefore = 0;  ///< "Cur.Layer" of the last ordinary row before it
};

/// One summary line with its line feed.
std::string summaryLine(const SummarySource& source, bool withPorosity);

/// prefix of the log path (up to its first ".csv") + the summary's suffix.
std::string summaryPath(const std::string& logPath, bool withPorosity);

/// Writes one summary file from the run log; false (after a message, where
/// the failure is the user's to know) when nothing was written.
bool writeSummary(const std::string& logPath, bool withPorosity, Platform& platform);

/// "Create summary report": the file without porosity, then the one with.
bool createSummaryReports(const std::string& logPath, Platform& platform);

}  // namespace quorvane
