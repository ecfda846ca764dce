#pragma once

// Ids of the string table's texts (resources/strings/strings.json), by what
// they say. The number is the id in the table; the French table uses the
// same ids.
enum TStringId : int {
    // Buttons of the editing dialogs.
    StrCancel = 1,
    StrOk = 2,
    StrHelp = 3,

    // Menus and commands of the main window, and the letters of their shortcuts.
    StrMenuFile = 110,
    StrFileNew = 111,
    StrFileOpen = 112,
    StrFileSave = 113,
    StrFileSaveAs = 114,
    StrFileProperties = 115,
    StrFileQuit = 116,
    StrMenuEdit = 120,
    StrEditCut = 121,
    StrEditCopy = 122,
    StrEditPaste = 123,
    StrMenuHelp = 130,
    StrHelpGuide = 131,
    StrHelpWebPage = 132,
    StrHelpCustomerPage = 133,
    StrHelpAbout = 134,
    StrHelpLicence = 135,
    StrKeyNew = 151,
    StrKeyOpen = 152,
    StrKeySave = 153,
    StrKeyQuit = 156,
    StrKeyCut = 161,
    StrKeyCopy = 162,
    StrKeyPaste = 163,
    StrExampleDisplay = 1020,
    StrExampleBack = 1021,
    StrExampleSelect = 1022,
    StrTextReport = 1023,
    StrTableReport = 1024,

    // Documents.
    StrOpenCaption = 201,
    StrProjectFiles = 202,
    StrSaveFailed = 211,
    StrNotAProject = 212,
    StrNewDocument = 1030,
    StrSaveChanges = 1070,
    StrReplaceProject = 1075,

    // Reports.
    StrReplaceReport = 250,
    StrReportBeingMade = 251,
    StrReportConverting = 252,
    StrReportDone = 253,
    StrWordExportFailed = 254,
    StrExcelExportFailed = 255,

    // The about box.
    StrAboutCaption = 350,
    StrAboutRelease = 352,
    StrAboutClose = 356,

    // The start dialog and the example selection.
    StrStartQuestion = 925,
    StrStartNew = 926,
    StrStartOpen = 927,
    StrStartQuit = 930,
    StrExampleCaption = 950,
    StrExamplePrompt = 951,
    StrExampleLoadFailed = 952,

    // Wordings that must be given, and given once.
    StrWordingRequired = 1102,
    StrWordingInUse = 1103,

    // Factor types and coupling kinds, singular: 2500 + the type code.
    StrTypeNameBase = 2500,
    StrPieceOfLuck = 2509,
    StrConflict = 2510,
    StrChallenge = 2511,
    StrDanger = 2512,

    // The workspace.
    StrRating = 2517,
    StrSwotMatrix = 2520,
    StrEnterFactors = 2521,
    StrCouplingView = 2522,
    StrSelectedCoupling = 2523,
    StrDisplay = 2524,
    StrAllKinds = 2525,
    StrMinimumRating = 2526,
    StrNoCouplingShown = 2530,
    StrSelectCouplingFirst = 2580,
    StrNoCoupling = 2581,
    StrComments = 2541,

    // The conclusion and factor dialogs.
    StrConclusions = 2600,
    StrConclusionPrompt = 2601,
    StrFactorCaption = 2650,
    StrImportance = 2652,
    StrMarkHigh = 2653, // then medium and low
    StrFactorInUse = 2660,

    // The properties dialog.
    StrPropertiesCaption = 2700,
    StrPropertiesInformation = 2701,
    StrPropertiesTitle = 2702,
    StrPropertiesComments = 2703,
    StrPropertiesHeadings = 2704,
    StrPropertiesModify = 2705,
    StrPropertiesReset = 2706,
    StrPropertiesSelectItem = 2708,
    StrPropertiesModification = 2709,
    StrPropertiesNewWording = 2710,

    // Default headings: 2800 + the heading's number.
    StrHeadingBase = 2800,

    // Failures of files, reports and the program.
    StrCannotOpen = 3001,
    StrNotZip = 3002,
    StrNoContent = 3003,
    StrContentTooLarge = 3004,
    StrArchiveDamaged = 3005,
    StrNotWellFormed = 3006,
    StrTooManyTags = 3007,
    StrWrongDocumentElement = 3008,
    StrMissingAttribute = 3009,
    StrNotANumber = 3010,
    StrLineColumn = 3011,
    StrCannotWrite = 3012,
    StrDocumentType = 3013,
    StrTooDeep = 3014,
    StrNumberOutOfRange = 3015,
    StrUnknownEncoding = 3016,
    StrInvalidInEncoding = 3017,
    StrWriteProtected = 3018,
    StrSaveTooLarge = 3019,
    StrSaveTooManyTags = 3020,
    StrTableTooLarge = 3021,
    StrTemplateNamespace = 3030,
    StrTemplateElement = 3031,
    StrTemplateUnreadable = 3032,
    StrReportUnwritable = 3033,
    StrReportExtension = 3034,
    StrConversionReason = 3035,
    StrUsage = 3040,
    StrOutOfMemory = 3050,
    StrUnexpectedError = 3051,
    StrUnexpectedErrorBare = 3052,
    StrRecoverChanges = 3060,
    StrRecoveryUnwritable = 3061,
    StrReportInterrupted = 3062,
    StrUndo = 3070,
    StrRedo = 3071,
    StrChangeAdd = 3072,
    StrChangeEdit = 3073,
    StrChangeDelete = 3074,
    StrChangeMove = 3075,
    StrChangeLink = 3076,
    StrChangeUnlink = 3077,
    StrChangeProperties = 3078,
    StrStyleBold = 3080,
    StrStyleItalic = 3081,
    StrStyleUnderline = 3082,
    StrNoBrowser = 3083,
    StrOpenRecent = 3084,
    StrRecentMissing = 3085,
    StrMenuProject = 3086,
    // The list buttons' names, for screen readers: add, edit and delete for
    // each factor type from StrListButtonsBase + 3 * (type - 1), then the
    // conclusions' add, edit, delete, down and up.
    StrListButtonsBase = 3090,
    StrConclusionButtonsBase = 3102,
    StrUnknownOption = 3110,
    StrReportArguments = 3111,
};
