#pragma once
// The numbered message table: every text the user sees in a message box or
// a progress row comes from here.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tabulon {

enum MessageId : std::uint32_t {
  kMsgUnableToOpenFile = 59414,
  kMsgExporting = 59419,
  kMsgMissingObjectFile = 59420,
  kMsgSelectLogFile = 59425,
  kMsgSelectOutputFile = 59427,
  kMsgOutputFilesFilter = 59428,
  kMsgObjectFilesFilter = 59429,
  kMsgUnableToOpenForWriting = 59431,
  kMsgConfirmDeleteObject = 59433,
  kMsgRetrievingComputerNames = 59434,
  kMsgExportCompleted = 59435,
  kMsgWinsockForPing = 59436,
  kMsgPingFailed = 59437,
  kMsgNoDomainController = 59439,
  kMsgRegistryConnect = 59440,
  kMsgRegistrySoftwareKey = 59442,
  kMsgRegistryQuery = 59443,
  kMsgErrorGettingShares = 59445,
  kMsgConfirmDeleteTemplate = 59446,
  kMsgExportingRegistry = 59447,
  kMsgNoObjects = 59449,
  kMsgExportAborted = 59450,
  kMsgQuollObjectFileAsObjectFile = 59452,
  kMsgNoComputerInformation = 59457,
  kMsgDirectoryOpen = 59472,
  kMsgDirectorySearch = 59473,
  kMsgDirectorySearchCriteria = 59474,
  kMsgUnableToFormatNt = 59475,
  kMsgNoExpiration = 59476,
  kMsgExportingDirectory = 59478,
  kMsgNoDomainControllerFor = 59479,
  kMsgConfirmDeleteDirectoryQuery = 59480,
  kMsgSamAccountNameRequiredByTse = 59482,
  kMsgAddSamAccountName = 59483,
  kMsgTseLibrariesMissing = 59493,
  kMsgEnabledExports = 59494,
  kMsgComputerFilteringOn = 59495,
  kMsgConfigurationFilesFilter = 59496,
  kMsgAdsPathRequired = 59498,
  kMsgGettingComputerListing = 59499,
  kMsgGettingLastLogon = 59502,
  kMsgSamAccountNameRequiredByLogon = 59503,
  kMsgLogonAttributesRequired = 59504,
  kMsgQuollObjectFileReadOnly = 59505,
  kMsgNoDirectoryComputerName = 59507,
  kMsgWmiInit = 59510,
  kMsgWmiConnect = 59511,
  kMsgExportingWmi = 59512,
  kMsgWmiSecurity = 59513,
  kMsgWmiQuery = 59514,
  kMsgWmiProperty = 59515,
  kMsgWmiClassProperties = 59516,
  kMsgWmiClasses = 59517,
  kMsgWmiPropertyQualifier = 59518,
  kMsgWmiClassQualifier = 59519,
  kMsgWmiNoClass = 59520,
  kMsgShareOptionRequired = 59524,
  kMsgExportingFiles = 59525,
  kMsgFileTemplatesRequired = 59527,
  kMsgClipboardOpen = 59528,
  kMsgClipboardEmpty = 59529,
  kMsgClipboardMemory = 59530,
  kMsgOutputFileRequired = 59533,
  kMsgExportProperties = 59536,
  kMsgManageConfigurations = 59537,
  kMsgAssignObjectFile = 59538,
  kMsgCopyConfiguration = 59539,
  kMsgObjectsProcessed = 59542,
  kMsgSkippingDisabled = 59545,
  kMsgScanDepth = 59546,
  kMsgPhotoFileOpen = 59547,
  kMsgPhotoNeedsSamAccountName = 59548,
  kMsgPhotoDirectory = 59549,
  kMsgRegistrySearch = 59554,
  kMsgObjectsExported = 59560,
  kMsgTooManyDirectoryAttributes = 59561,
  // Messages of this build beyond those above.
  kMsgAnonymousLogon = 60001,
  kMsgTicketCacheLogon = 60002,
  kMsgConfirmDeleteConfiguration = 60201,
  kMsgQuollConversion = 60202,
};

// The text of message `id`; empty for a number that is not in the table.
std::string_view MessageText(std::uint32_t id);

// A printf-style picture filled with texts: each "%s", "%ls", "%d", "%ld" or
// "%u" takes the next argument as it stands, "%%" is a percent sign; a
// conversion with no argument left stays as written.
std::string FillMessage(std::string_view picture, std::initializer_list<std::string_view> args);
std::string FormatMessageId(std::uint32_t id, std::initializer_list<std::string_view> args);

}  // namespace tabulon
