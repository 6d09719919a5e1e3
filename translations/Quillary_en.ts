<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>QObject</name>
    <message>
        <source>Content</source>
        <translation>Content</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Phrase</source>
        <translation>Phrase</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>WorkLanguage</source>
        <translation>English</translation>
    </message>
    <message>
        <source>&amp;%1 %2</source>
        <translation>&amp;%1 %2</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Edit toolbar</source>
        <translation>Edit toolbar</translation>
    </message>
    <message>
        <source>Font toolbar</source>
        <translation>Font toolbar</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Open Database...</source>
        <translation>Open Database...</translation>
    </message>
    <message>
        <source>Create a database...</source>
        <translation>Create a database...</translation>
    </message>
    <message>
        <source>Save Database As</source>
        <translation>Save Database As</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Save phrases to a text file</source>
        <translation>Save phrases to a text file</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Loading phrases from a file and adding to current database</source>
        <translation>Loading phrases from a file and adding to current database</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Exit the application</source>
        <translation>Exit the application</translation>
    </message>
    <message>
        <source>Language Settings</source>
        <translation>Language Settings</translation>
    </message>
    <message>
        <source>Ordering Information</source>
        <translation>Ordering Information</translation>
    </message>
    <message>
        <source>Displays content of Help</source>
        <translation>Displays content of Help</translation>
    </message>
    <message>
        <source>Getting Started</source>
        <translation>Getting Started</translation>
    </message>
    <message>
        <source>Technical Support</source>
        <translation>Technical Support</translation>
    </message>
    <message>
        <source>&amp;About Quillary</source>
        <translation>&amp;About Quillary</translation>
    </message>
    <message>
        <source>Show the About box</source>
        <translation>Show the About box</translation>
    </message>
    <message>
        <source>Vertical Windows</source>
        <translation>Vertical Windows</translation>
    </message>
    <message>
        <source>Vertical layout of the application windows</source>
        <translation>Vertical layout of the application windows</translation>
    </message>
    <message>
        <source>Horizontal Windows</source>
        <translation>Horizontal Windows</translation>
    </message>
    <message>
        <source>Horizontal layout of the application windows</source>
        <translation>Horizontal layout of the application windows</translation>
    </message>
    <message>
        <source>About Quillary</source>
        <translation>About Quillary</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Support</translation>
    </message>
    <message>
        <source>The program web page</source>
        <translation>The program web page</translation>
    </message>
    <message>
        <source>Web</source>
        <translation>Web</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Unable to open the base - </source>
        <translation>Unable to open the base - </translation>
    </message>
    <message>
        <source>table not found.</source>
        <translation>table not found.</translation>
    </message>
    <message>
        <source>Select Database File</source>
        <translation>Select Database File</translation>
    </message>
    <message>
        <source>Save As A New Database</source>
        <translation>Save As A New Database</translation>
    </message>
    <message>
        <source>Unable to save the base - </source>
        <translation>Unable to save the base - </translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Create a new database for importing?</source>
        <translation>Create a new database for importing?</translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) have been imported.</source>
        <translation>
            <numerusform>%n phrase(s) have been imported.</numerusform>
            <numerusform>%n phrase(s) have been imported.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
    <message>
        <source>Find Strings</source>
        <translation>Find Strings</translation>
    </message>
    <message>
        <source>Phrases</source>
        <translation>Phrases</translation>
    </message>
    <message>
        <source>Labels</source>
        <translation>Labels</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>HotKey</source>
        <translation>HotKey</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>Rating</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>Search phrases</source>
        <translation>Search phrases</translation>
    </message>
    <message>
        <source>Copy Phrase</source>
        <translation>Copy Phrase</translation>
    </message>
    <message>
        <source>Copy selected phrase to the clipboard</source>
        <translation>Copy selected phrase to the clipboard</translation>
    </message>
    <message>
        <source>Copy text from cells</source>
        <translation>Copy text from cells</translation>
    </message>
    <message>
        <source>Copy text from several selected cells to the clipboard</source>
        <translation>Copy text from several selected cells to the clipboard</translation>
    </message>
    <message>
        <source>Paste Phrase</source>
        <translation>Paste Phrase</translation>
    </message>
    <message>
        <source>Paste the phrase from the clipboard</source>
        <translation>Paste the phrase from the clipboard</translation>
    </message>
    <message>
        <source>Delete Phrase</source>
        <translation>Delete Phrase</translation>
    </message>
    <message>
        <source>Append Phrase</source>
        <translation>Append Phrase</translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) have been found.</source>
        <translation>
            <numerusform>%n phrase(s) have been found.</numerusform>
            <numerusform>%n phrase(s) have been found.</numerusform>
        </translation>
    </message>
    <message>
        <source>Phrases are not found.</source>
        <translation>Phrases are not found.</translation>
    </message>
    <message numerus="yes">
        <source>A total of %n phrase(s).</source>
        <translation>
            <numerusform>A total of %n phrase(s).</numerusform>
            <numerusform>A total of %n phrase(s).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The phrase used %n time(s)</source>
        <translation>
            <numerusform>The phrase used %n time(s)</numerusform>
            <numerusform>The phrase used %n time(s)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) have been chosen.</source>
        <translation>
            <numerusform>%n phrase(s) have been chosen.</numerusform>
            <numerusform>%n phrase(s) have been chosen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Do you want to delete this phrase?</source>
        <translation>Do you want to delete this phrase?</translation>
    </message>
    <message numerus="yes">
        <source>Do you want to delete %n phrase(s)?</source>
        <translation>
            <numerusform>Do you want to delete %n phrase(s)?</numerusform>
            <numerusform>Do you want to delete %n phrase(s)?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) have been exported.</source>
        <translation>
            <numerusform>%n phrase(s) have been exported.</numerusform>
            <numerusform>%n phrase(s) have been exported.</numerusform>
        </translation>
    </message>
    <message>
        <source>Editing phrase</source>
        <translation>Editing phrase</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Undo the last command</source>
        <translation>Undo the last command</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Redo the last command</source>
        <translation>Redo the last command</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Cut selected content to the clipboard</source>
        <translation>Cut selected content to the clipboard</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Copy selected content to the clipboard</source>
        <translation>Copy selected content to the clipboard</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Paste the clipboard content into the current selection</source>
        <translation>Paste the clipboard content into the current selection</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Underline</translation>
    </message>
    <message>
        <source>Align Left</source>
        <translation>Align Left</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Center</translation>
    </message>
    <message>
        <source>Align Right</source>
        <translation>Align Right</translation>
    </message>
    <message>
        <source>Justify</source>
        <translation>Justify</translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Text Color</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2.</source>
        <translation>Cannot read file %1:
%2.</translation>
    </message>
    <message>
        <source>The phrases cannot be stored: %1</source>
        <translation type="vanished">The phrases cannot be stored: %1</translation>
    </message>
    <message>
        <source>The imported phrases could not be saved: %1</source>
        <translation type="vanished">The imported phrases could not be saved: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) could not be stored: %1</source>
        <translation type="vanished">
            <numerusform>%n phrase(s) could not be stored: %1</numerusform>
            <numerusform>%n phrase(s) could not be stored: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>Cannot write file %1:
%2.</translation>
    </message>
    <message>
        <source>Unable to save the phrase - </source>
        <translation>Unable to save the phrase - </translation>
    </message>
    <message>
        <source>the phrase is no longer in the file</source>
        <translation>the phrase is no longer in the file</translation>
    </message>
    <message>
        <source>the database did not take the phrase</source>
        <translation>the database did not take the phrase</translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) were read, none of them was stored: %1</source>
        <translation>
            <numerusform>%n phrase was read, and it was not stored: %1</numerusform>
            <numerusform>%n phrases were read, none of them was stored: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>the phrase table lacks the columns %1.</source>
        <translation>the phrase table lacks the columns %1.</translation>
    </message>
    <message>
        <source> [read-only]</source>
        <translation> [read-only]</translation>
    </message>
    <message>
        <source>The database is read-only: uses of phrases are not counted.</source>
        <translation>The database is read-only: uses of phrases are not counted.</translation>
    </message>
    <message numerus="yes">
        <source>Paste %n phrase(s)?</source>
        <translation>
            <numerusform>Paste %n phrase?</numerusform>
            <numerusform>Paste %n phrases?</numerusform>
        </translation>
    </message>
    <message>
        <source>This phrase is too long to be shown here (%1 MB). It can still be copied and exported.</source>
        <translation>This phrase is too long to be shown here (%1 MB). It can still be copied and exported.</translation>
    </message>
    <message>
        <source>there is no file %1.</source>
        <translation>there is no file %1.</translation>
    </message>
    <message>
        <source>The database file %1 is no longer there: it was removed, renamed or replaced by a file that cannot be used.
The phrases shown are kept; File &gt; Save Database As writes them to a new file.</source>
        <translation>The database file %1 is no longer there: it was removed, renamed or replaced by a file that cannot be used.
The phrases shown are kept; File &gt; Save Database As writes them to a new file.</translation>
    </message>
    <message>
        <source>Another window or program deleted this phrase after you began editing it.</source>
        <translation>Another window or program deleted this phrase after you began editing it.</translation>
    </message>
    <message>
        <source>Another window or program changed this phrase after you began editing it.</source>
        <translation>Another window or program changed this phrase after you began editing it.</translation>
    </message>
    <message>
        <source>Keep both: your text is stored as a new phrase.
Overwrite: your text replaces theirs.
Discard mine: the file keeps theirs.</source>
        <translation>Keep both: your text is stored as a new phrase.
Overwrite: your text replaces theirs.
Discard mine: the file keeps theirs.</translation>
    </message>
    <message>
        <source>&amp;Keep both</source>
        <translation>&amp;Keep both</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Overwrite</translation>
    </message>
    <message>
        <source>&amp;Discard mine</source>
        <translation>&amp;Discard mine</translation>
    </message>
</context>
<context>
    <name>TypeEdit</name>
    <message>
        <source>&amp;Color...</source>
        <translation>&amp;Color...</translation>
    </message>
</context>
</TS>
