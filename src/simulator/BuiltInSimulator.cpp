#include "simulator/BuiltInSimulator.h"

std::unique_ptr<BuiltInSimulator> BuiltInSimulator::start(QString* error)
{
    std::unique_ptr<BuiltInSimulator> simulator(new BuiltInSimulator);
    simulator->m_handset.loadSampleContent();
    simulator->m_bundle = simulator->m_dir.filePath(QStringLiteral("AHK3001VDriver.kext"));
    if (!SimulatedHandset::createDriverBundle(simulator->m_bundle, QStringLiteral("1.2"), error) ||
        !simulator->m_handset.start(simulator->m_dir.filePath(QStringLiteral("cu.ah-k3001v.data")), error))
        return nullptr;
    return simulator;
}

void BuiltInSimulator::pointAtIt(LinkSettings& settings) const
{
    settings.device = m_handset.devicePath();
    settings.driverBundle = m_bundle;
}
