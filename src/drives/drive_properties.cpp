#include "drives/drive_queries.h"
#include "drives/drive_state.h"
#include "drives/drive_texts.h"
#include "drives/panel_text.h"

namespace corvane {
namespace {

constexpr std::uint32_t kDefaultSectorSize = 512;

} // namespace

void CDriveState::ClearDrivePanel() {
    for (const PanelField& field : PanelFields()) {
        if (field.text != nullptr)
            this->*field.text = kNoValueText;
        else
            view_.SetControlText(field.id, kNoValueText);
    }
}

void CDriveState::OnDriveSelChange() {
    std::shared_ptr<CDevice> device = GetSelectedDevice();
    if (!device)
        return;
    m_pDevice = device;
    const std::string& drive = device->m_drive;
    // During a run the drive under test is never opened: the panel shows the figures the run
    // took, and the free space of a file system the run is overwriting is not asked for.
    const std::optional<RunningDrive> run = Running();
    const bool underTest = run && run->drive == drive;

    m_strDriveLetter = drive;
    BrandModel names = SplitBrandModel(device->m_vendorProduct);
    m_strBrand = std::move(names.brand);
    m_strModel = std::move(names.model);
    m_strFirmware = device->m_revision;
    m_strFormatSize = kNoValueText;

    std::uint64_t freeBytes = 0;
    if (underTest)
        m_strFreeSpace = kNoValueText;
    else
        freeBytes =
            WholeBytes(FormatFreeSpace(drives_, drive, m_strFreeSpace, kFreeSpaceBufferChars));

    std::uint64_t size = 0;
    std::uint32_t sectorSize = 0;
    if (underTest) {
        size = run->size;
        sectorSize = run->sectorSize;
        NoteSelectedSectorSize(run->sectorSize);
    } else if (run) {
        // Another drive during a run: its geometry is read, but the sector size field stays
        // as the run left it until the run ends.
        std::atomic<std::uint32_t> read{0};
        size = GetDriveSize(drives_, drive, read);
        sectorSize = read.load();
        if (sectorSize != 0)
            NoteSelectedSectorSize(sectorSize);
        else
            sectorSize = m_nSectorSize.load();
    } else {
        size = GetDriveSize(drives_, drive, m_nSectorSize);
        if (m_nSectorSize.load() == 0)
            m_nSectorSize.store(kDefaultSectorSize);
        sectorSize = m_nSectorSize.load();
    }
    if (sectorSize == 0)
        sectorSize = kDefaultSectorSize;

    m_strFormatSize = FormatSize(size);
    m_strMaxSize = FormatSizeDecimal(size);
    m_strUsedSpace =
        underTest ? std::string(kNoValueText) : FormatSize(freeBytes > size ? 0 : size - freeBytes);
    m_strDriveType = GetDriveTypeName(drives_.GetDriveType(drive));
    view_.SetControlText(kIdcInterface, GetBusTypeName(device->m_busType));

    const std::uint64_t cellSectors = size / sectorSize / kMapPlots;
    m_strSizePerPlot = FormatSize(cellSectors * sectorSize);

    // The progress bar belongs to a running test.
    if (!run) {
        view_.SetProgressRange(0, 100);
        view_.SetProgressPos(0);
    }
    if (!underTest)
        ProbeDriveStart(drives_, drive, sectorSize, view_);
    view_.RefreshBoundTexts();
}

} // namespace corvane
