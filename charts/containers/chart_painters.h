#ifndef TALVERO_CHARTS_CONTAINERS_CHART_PAINTERS_H
#define TALVERO_CHARTS_CONTAINERS_CHART_PAINTERS_H

// Connects the charts layer to the layers below it, which cannot call up:
// chart records load their series data here, and the grid view, printing
// and saved images draw containers and image backgrounds here, with the
// document's image cache. The program calls it once at start-up, as do the
// tests and benchmarks that recalculate or paint charts.

void InstallChartPainters();

#endif
