#pragma once
/// The values one run leaves behind, in the fixed units of the run log: one
/// record is one row of the log. The physical part comes from the data at the
/// time of the run, the measured part from the evaluation of its growth record.

#include <string>

#include "engine/growth_regime.h"

namespace quorvane {

struct RunRecord {
    std::string logPath;  ///< the run log this record belongs to

    // Physical part, in the log's units.
    double probIn = 0;         ///< "Prob. be in", parts
    double timeStep = 0;       ///< "Time step", s
    int fieldW = 0;            ///< "N horznt."
    int fieldH = 0;            ///< "N vert."
    double a = 0;              ///< nm
    double b = 0;              ///< nm
    double c = 0;              ///< nm
    double M = 0;              ///< Daltons
    double density = 0;        ///< "d", g/cm^3
    double dH = 0;             ///< enthalpy per volume, J/nm^3
    double dHm = 0;            ///< molar enthalpy, J/mol
    double surfaceEnergy = 0;  ///< "Surf.energy", J/nm^2
    double Ea = 0;             ///< J/mol
    double T = 0;              ///< growth temperature, K
    double Ta = 0;             ///< "Ta": melting temperature of the pure substance, K
    double To = 0;             ///< "To": liquidus temperature, K
    double Co = 0;             ///< concentration, parts
    double Fr = 0;             ///< frequency of vibrations, Hz
    double dG = 0;             ///< general supercooling
    double Sm = 0;             ///< general surface energy
    double Sedg = 0;           ///< edges weight
    double Svrt = 0;           ///< vertices weight
    double Scbd = 0;           ///< contact fraction of a lone molecule on a flat layer
    double Scbd1 = 0;          ///< contact fraction of a molecule touching only its bottom face
    double Vc = 0;             ///< continuous growth rate, nm/s

    // Measured part.
    int nRecords = 0;            ///< entries of the growth record
    int curLayer = 0;            ///< layers filled
    int simTime = 0;             ///< "Sim.Time": simulated time, whole seconds
    double time = 0;             ///< simulated time, s
    double distance = 0;         ///< grown distance, layers
    double avRate = 0;           ///< "Av.Rate", nm/s
    double avRatePercent = 0;    ///< average rate as percent of continuous growth (logged x 0.01)
    double timeToFillLayer = 0;  ///< record value x the run's time factor
    double timeToBeginFill = 0;  ///< record value x the run's time factor
    double partTimeToStart = 0;  ///< induction ratio, parts
    double roughness = 0;        ///< layers
    double porosity = 0;         ///< parts
    bool porous = false;         ///< hole defects were simulated ("n/a" otherwise)
    int stableGrowthFound = 0;   ///< 1 when stable growth was detected
    int mechanism = 3;           ///< growth mechanism code
    /// The growth regime and its evidence, kept beside the log in its table of
    /// regimes (not a column of the log).
    GrowthRegimeAssessment regime;
};

}  // namespace quorvane
