#pragma once
/// What the Data and Run panels say beyond their labels, for the mouse and for
/// a screen reader: the tooltip of every field (what it holds, its unit, how the
/// others follow it) and the description of every chart, all from the panels'
/// sheets and renewed when the data change; and the fields' widths, from their
/// font.

namespace quorvane {

class DataPanel;
class RunPanel;

/// Once, when the panel is made: field widths and the tips that never change.
void prepareDataPanel(DataPanel& panel);
/// After every change of the data: the tips with units and the charts' descriptions.
void describeDataPanel(DataPanel& panel);
/// Once, when the panel is made: the widths of its fields.
void prepareRunPanel(RunPanel& panel);
/// After every change of the run values: the tips and the chart's description.
void describeRunPanel(RunPanel& panel);

}  // namespace quorvane
