// quorvane.Data: a data file's content, item access by data-file key through
// the same code as the batch runner's --set, and the values derived from it.

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <utility>

#include "model/probabilities.h"
#include "python/bindings.h"
#include "python/data_object.h"
#include "sheets/engine_charts.h"

namespace quorvane::python {
namespace {

/// The theoretical results of the data, in the data's current units (rates
/// in length per time unit, the nucleus radius in length, K dimensionless).
constexpr std::pair<const char*, double PhysicalData::*> kTheory[] = {
    {"F", &PhysicalData::F},
    {"Va_continues", &PhysicalData::Va_continues},
    {"V_cont_b", &PhysicalData::V_cont_b},
    {"V_cont_c", &PhysicalData::V_cont_c},
    {"r_crit", &PhysicalData::r_crit},
    {"Va_spiral", &PhysicalData::Va_spiral},
    {"N_f", &PhysicalData::N_f},
    {"Va_nuclei", &PhysicalData::Va_nuclei},
    {"K_a", &PhysicalData::K_a},
    {"K_b", &PhysicalData::K_b},
    {"K_c", &PhysicalData::K_c},
    {"Va_kes", &PhysicalData::Va_kes},
    {"Vb_kes", &PhysicalData::Vb_kes},
    {"Vc_kes", &PhysicalData::Vc_kes},
    {"Rf_a_kes", &PhysicalData::Rf_a_kes},
    {"Rf_b_kes", &PhysicalData::Rf_b_kes},
    {"Rf_c_kes", &PhysicalData::Rf_c_kes},
    {"Pf_a_kes", &PhysicalData::Pf_a_kes},
    {"Pf_b_kes", &PhysicalData::Pf_b_kes},
    {"Pf_c_kes", &PhysicalData::Pf_c_kes},
    {"Frequency_of_Jumps", &PhysicalData::Frequency_of_Jumps},
    {"nu_s", &PhysicalData::nu_s},
    {"B", &PhysicalData::B},
};

py::dict theory(const DataObject& data) {
    const PhysicalData d = data.shown().data;
    py::dict out;
    for (const auto& [name, member] : kTheory) out[name] = d.*member;
    return out;
}

template <typename T>
py::array_t<T> array(const std::vector<T>& values) {
    return py::array_t<T>(static_cast<py::ssize_t>(values.size()), values.data());
}

/// What the engine would be handed for these data, and its probabilities per
/// step against the share of a molecule's surface that touches the crystal.
py::dict probabilities(const DataObject& data) {
    const ShownData s = data.shown();
    py::dict out;
    out["P"] = s.run.Prob_in_at_step;
    out["time_step"] = s.run.Time_step;
    if (const auto inputs = makeEngineInputs(s.data, s.run)) {
        out["Pint"] = inputs->Pint;
        out["E0"] = inputs->E0;
        out["E8"] = inputs->E8;
    }
    const EngineCharts charts = engineChartsFor(s.data, s.run);
    if (charts.probability) {
        out["contact_fraction"] = array(charts.probability->contactFraction);
        out["leave"] = array(charts.probability->outProbability);
        out["grow"] = array(charts.probability->inProbability);
    }
    if (charts.frequency) {
        out["frequency_contact_percent"] = array(charts.frequency->contactPercent);
        out["frequency_out"] = array(charts.frequency->frequency);
    }
    return out;
}

/// A value as it would be typed: a number in its shortest exact form (Python's
/// repr of a float reads back to the same double), a flag as 1 or 0.
std::string typed(const py::object& value) {
    if (py::isinstance<py::bool_>(value)) return value.cast<bool>() ? "1" : "0";
    if (py::isinstance<py::float_>(value))
        return py::repr(py::float_(value.cast<double>())).cast<std::string>();
    if (py::isinstance<py::int_>(value)) return py::str(py::int_(value)).cast<std::string>();
    return py::str(value).cast<std::string>();
}

}  // namespace

void bindData(py::module_& m) {
    py::class_<DataObject>(m, "Data",
                           "A data file's content: its keys set as if typed into the program's "
                           "fields, with the same rules and messages as quorvane-batch --set.")
        .def(py::init<>(), "The built-in data, as quorvane-batch starts without --data.")
        .def_static("read", &DataObject::read, py::arg("path"), "Reads a data file, as --data.")
        .def("write", &DataObject::write, py::arg("path"),
             "Writes the data file, whole or not at all, as --write-data.")
        .def("__getitem__", &DataObject::get, py::arg("key"))
        .def(
            "__setitem__",
            [](DataObject& d, const std::string& key, const py::object& value) {
                d.set(key, typed(value));
            },
            py::arg("key"), py::arg("value"))
        .def("__contains__", &DataObject::hasKey)
        .def("__len__", [](const DataObject& d) { return d.keys().size(); })
        .def("__iter__", [](const DataObject& d) { return py::iter(py::cast(d.keys())); })
        .def("keys", &DataObject::keys, "the data file's keys, in its order")
        .def("unit", &DataObject::unit, py::arg("key"), "the unit the data file writes for a key")
        .def("copy", [](const DataObject& d) { return DataObject(*d.snapshot()); })
        .def("__copy__", [](const DataObject& d) { return DataObject(*d.snapshot()); })
        .def("__deepcopy__",
             [](const DataObject& d, py::dict) { return DataObject(*d.snapshot()); })
        .def("text", &DataObject::fileText, "the data file's text of these data")
        .def("theory", &theory, "the theoretical results, in the data's units")
        .def("probabilities", &probabilities,
             "the probability in per step and the engine's probabilities per step")
        .def("__repr__", [](const DataObject& d) {
            const std::string path = d.state().paths.currentDataPath;
            return "<quorvane.Data " + path + ">";
        });
}

}  // namespace quorvane::python
