#pragma once

#include <QString>

// The command words a batch script can give to the main window, in the order
// that fixes their ids. Words are matched without regard to case. The script
// interpreter only asks whether a word is known; the main window dispatches
// on the id.
namespace BatchCmd {
enum Id : int {
    ClearI1Files = 0,
    ClearI0Files,
    SetI1EnergyPattern,
    SetI0EnergyPattern,
    LoadI1Files,
    LoadI0Files,
    LoadI1FilesOfPattern,
    LoadI0FilesOfPattern,
    CutFI0,
    CutFI1,
    CutLI0,
    CutLI1,
    SkipI0,
    SkipI1,
    ShowLatestI0,
    ShowLatestI1,
    EngByNameI0,
    EngByNameI1,
    EngByNameRegExpI0,
    EngByNameRegExpI1,
    EngByNameFactorI0,
    EngByNameFactorI1,
    EngByCalcI0,
    EngByCalcI1,
    EngCalcBaseI0,
    EngCalcBaseI1,
    EngCalcDeltaI0,
    EngCalcDeltaI1,
    EngCalcEndI0,
    EngCalcEndI1,
    EngCalcNumI0,
    EngCalcNumI1,
    EngCalcEvenInEngI0,
    EngCalcEvenInEngI1,
    EngCalcEvenInDegI0,
    EngCalcEvenInDegI1,
    EngCalcDispUnitI0,
    EngCalcDispUnitI1,
    EngByRefI0,
    EngByRefI1,
    SetFluoType,
    SetBandW,
    SetBandH,
    SelectDispImage,
    SeekImage,
    SaveImage,
    SaveImageWNum,
    SaveAllImages,
    SaveData,
    SaveDataAsTiff,
    MovePosition,
    SaveSpectra,
    SelectRegion,
    ScaleReset,
    ZoomIn,
    XafsViewNormalize,
    XafsViewEnerugyCorrection,
    AnalyzerShowWindow,
    AnalyzerSetLCFStd,
    AnalyzerSetLCFMode,
    AnalyzerExecLCF,
    AnalyzerSelectImage,
    AnalyzerSelectImageType,
    AnalyzerSetRaEnergy,
    AnalyzerSetRaFactor,
    AnalyzerExecRa,
    AnalyzerSetFixedScale,
    AnalyzerSetScaleMax,
    AnalyzerSetScaleMin,
    AnalyzerSetDMutScaleMax,
    AnalyzerSetDMutScaleMin,
    AnalyzerSetRatioScaleMax,
    AnalyzerSetRatioScaleMin,
    AnalyzerViewNormalize,
    AnalyzerViewEnerugyCorrection,
    AnalyzerTargetElements,
    AnalyzerSelectAnalysisMode,
    AnalyzerElemsSelectTarget,
    AnalyzerElemsSelectShow,
    AnalyzerElemsSetDeVs,
    AnalyzerElemsSetCorrTh,
    AnalyzerElemsSelectDispMode,
    AnalyzerElemsSetUse,
    AnalyzerElemsSortByAn,
    AnalyzerElemsRoi,
    AnalyzerElemsThdmut,
    AnalyzerElemsNoNeg,
    AnalyzerElemsBgDMut,
    AnalyzerElemsBgDMutR,
    AnalyzerElemsBgDE,
    AnalyzerElemsBgROI,
    AnalyzerElemsBgNROI,
    AnalyzerExecElems,
    CalibShowWindow,
    CalibLoadStd,
    CalibSetEdgeEV,
    CalibExec,
    CalibLoadMap,
    CalibClearMap,
    CalibSaveMap,
    SaveDataCfgShowWindow,
    SaveDataCfgSaveAsTiff,
    SaveDataCfgSaveAsText,
    SaveDataCfgTiffFixScale,
    SaveDataCfgTiffScaleMin,
    SaveDataCfgTiffScaleMax,
    SaveDataCfgTiffAsAnalyzed,
    SaveDataCfgTextAsCsv,
    SaveDataCfgTextAsSsv,
    SaveDataCfgTextAsXyz,
    SaveDataCfgTextAsVals,
    Quit,
    Count,            // 112 words
    NotFound = Count  // the id of a word that is not in the table
};
} // namespace BatchCmd

// The id of a command word (any case); BatchCmd::NotFound when unknown.
int batchCommandId(const QString &word);

// The word of an id as the table spells it; empty for an id outside the table.
QString batchCommandWord(int id);

// The structural words the interpreter handles itself. They all begin with ":"
// and are matched without regard to case.
enum class BatchKeyword { None, For, Next, Echo, RemStart, RemEnd, End };

// The keyword a command word stands for; BatchKeyword::None for any other word.
BatchKeyword batchKeyword(const QString &word);
