#pragma once

class DescriptionForm;

// Writes a description window's edited documents back to its item: the cleaned body of each
// changed pane into the item's column, its pictures into the picture table, the item's update
// stamp, all in one transaction; then the window's saved-text snapshots.
class DescriptionSave
{
public:
    explicit DescriptionSave(DescriptionForm& form);

    // 0 done (also when nothing needed saving), 1 failed: logged, nothing written, the snapshots
    // kept so that closing the window still asks.
    long SaveDescription();

private:
    DescriptionForm& m_form;
};
