// The pictures module: painters over QPainter, shared by the panels and the reports.
