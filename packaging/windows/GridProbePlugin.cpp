// The package check's probe on Windows, where there is no LD_PRELOAD: the
// grid probe of the Linux check (tests/package/GridProbe.cpp) built into a
// Qt generic plugin, which an unchanged zelmar.exe loads when started with
// "-plugin zelmarprobe" and the plugin in generic\. Loading it queues the
// probe; the plugin itself makes nothing. Never shipped.

#include <QGenericPlugin>

class GridProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "GridProbePlugin.json")
public:
    QObject* create(const QString&, const QString&) override { return nullptr; }
};

#include "GridProbePlugin.moc"
