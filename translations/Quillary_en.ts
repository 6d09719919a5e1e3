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
    <message>
        <source>%1 or %2</source>
        <translation>%1 or %2</translation>
    </message>
    <message>
        <source>Show this help.</source>
        <translation>Show this help.</translation>
    </message>
    <message>
        <source>Show the version.</source>
        <translation>Show the version.</translation>
    </message>
    <message>
        <source>Bring up the window, a running copy&apos;s if any, with TEXT searched; with --export, write only the phrases TEXT finds.</source>
        <translation>Bring up the window, a running copy&apos;s if any, with TEXT searched; with --export, write only the phrases TEXT finds.</translation>
    </message>
    <message>
        <source>Print the phrases a search for TEXT finds, all without TEXT, one line each: id, phrase, labels, comment, rating and count, separated by TABs.</source>
        <translation>Print the phrases a search for TEXT finds, all without TEXT, one line each: id, phrase, labels, comment, rating and count, separated by TABs.</translation>
    </message>
    <message>
        <source>Print how many phrases a search for TEXT finds, all without TEXT.</source>
        <translation>Print how many phrases a search for TEXT finds, all without TEXT.</translation>
    </message>
    <message>
        <source>With --list, print a JSON array.</source>
        <translation>With --list, print a JSON array.</translation>
    </message>
    <message>
        <source>With --list, end each line with a NUL character, for xargs -0.</source>
        <translation>With --list, end each line with a NUL character, for xargs -0.</translation>
    </message>
    <message>
        <source>With --list, print at most N phrases.</source>
        <translation>With --list, print at most N phrases.</translation>
    </message>
    <message>
        <source>Write phrase ID&apos;s text to standard output and count a use.</source>
        <translation>Write phrase ID&apos;s text to standard output and count a use.</translation>
    </message>
    <message>
        <source>With --print, count no use.</source>
        <translation>With --print, count no use.</translation>
    </message>
    <message>
        <source>Store TEXT as a new phrase, print its id; - reads standard input.</source>
        <translation>Store TEXT as a new phrase, print its id; - reads standard input.</translation>
    </message>
    <message>
        <source>Change phrase ID: one or more of the four fields below.</source>
        <translation>Change phrase ID: one or more of the four fields below.</translation>
    </message>
    <message>
        <source>With --set, the new text; - reads standard input. The rich text is dropped, as when the phrase is edited in its cell.</source>
        <translation>With --set, the new text; - reads standard input. The rich text is dropped, as when the phrase is edited in its cell.</translation>
    </message>
    <message>
        <source>With --add or --set, the labels.</source>
        <translation>With --add or --set, the labels.</translation>
    </message>
    <message>
        <source>With --add or --set, the comment.</source>
        <translation>With --add or --set, the comment.</translation>
    </message>
    <message>
        <source>With --add or --set, the rating, a whole number from 0 to 100.</source>
        <translation>With --add or --set, the rating, a whole number from 0 to 100.</translation>
    </message>
    <message>
        <source>With --set and one field only: store it only while the phrase still holds VALUE there, else store nothing and exit with status 1; for several fields, give one --set each.</source>
        <translation>With --set and one field only: store it only while the phrase still holds VALUE there, else store nothing and exit with status 1; for several fields, give one --set each.</translation>
    </message>
    <message>
        <source>Delete phrase ID and the phrases of any further ids; one unknown id deletes none.</source>
        <translation>Delete phrase ID and the phrases of any further ids; one unknown id deletes none.</translation>
    </message>
    <message>
        <source>Import a TXT or INI phrase file; - reads standard input.</source>
        <translation type="vanished">Import a TXT or INI phrase file; - reads standard input.</translation>
    </message>
    <message>
        <source>Export phrases to a TXT file, or INI for a name ending in .ini; - writes standard output.</source>
        <translation type="vanished">Export phrases to a TXT file, or INI for a name ending in .ini; - writes standard output.</translation>
    </message>
    <message>
        <source>With --import or --export, txt or ini whatever the name; --import - needs it, --export - writes txt without it.</source>
        <translation>With --import or --export, txt or ini whatever the name; --import - needs it, --export - writes txt without it.</translation>
    </message>
    <message>
        <source>Create FILE as a new phrase database, with no phrases.</source>
        <translation>Create FILE as a new phrase database, with no phrases.</translation>
    </message>
    <message>
        <source>The database of the commands above; the stored one without it.</source>
        <translation>The database of the commands above; the stored one without it.</translation>
    </message>
    <message>
        <source>Quillary keeps reusable phrases in one SQLite file.
Without a command it opens its window, on FILE if given.</source>
        <translation>Quillary keeps reusable phrases in one SQLite file.
Without a command it opens its window, on FILE if given.</translation>
    </message>
    <message>
        <source>The database to open in the window.</source>
        <translation>The database to open in the window.</translation>
    </message>
    <message>
        <source>Unknown option %1.</source>
        <translation>Unknown option %1.</translation>
    </message>
    <message>
        <source>%1 takes no value.</source>
        <translation>%1 takes no value.</translation>
    </message>
    <message>
        <source>The value %1 is missing after %2.</source>
        <translation>The value %1 is missing after %2.</translation>
    </message>
    <message>
        <source>Try &apos;quillary --help&apos;.</source>
        <translation>Try &apos;quillary --help&apos;.</translation>
    </message>
    <message>
        <source>The option %1 is given more than once.</source>
        <translation>The option %1 is given more than once.</translation>
    </message>
    <message>
        <source>%1 and %2 are two commands: give one at a time.</source>
        <translation>%1 and %2 are two commands: give one at a time.</translation>
    </message>
    <message>
        <source>%1 goes only with %2.</source>
        <translation>%1 goes only with %2.</translation>
    </message>
    <message>
        <source>%1 does not go with %2, only with %3.</source>
        <translation>%1 does not go with %2, only with %3.</translation>
    </message>
    <message>
        <source>%1 does not go with %2.</source>
        <translation>%1 does not go with %2.</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot;: the window opens one FILE.</source>
        <translation>Unexpected argument &quot;%1&quot;: the window opens one FILE.</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot; with %2.</source>
        <translation>Unexpected argument &quot;%1&quot; with %2.</translation>
    </message>
    <message>
        <source>%1 wants the id of a phrase, a whole number, not &quot;%2&quot;.</source>
        <translation>%1 wants the id of a phrase, a whole number, not &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>%1 wants a phrase that is not empty.</source>
        <translation>%1 wants a phrase that is not empty.</translation>
    </message>
    <message>
        <source>%1 wants a file name.</source>
        <translation>%1 wants a file name.</translation>
    </message>
    <message>
        <source>%1 wants a file name: it cannot work on standard input or output.</source>
        <translation>%1 wants a file name: it cannot work on standard input or output.</translation>
    </message>
    <message>
        <source>%1 wants a whole number of 0 or more, not &quot;%2&quot;.</source>
        <translation>%1 wants a whole number of 0 or more, not &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>%1 wants a whole number from 0 to 100, not &quot;%2&quot;.</source>
        <translation>%1 wants a whole number from 0 to 100, not &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>%1 wants at least one of %2.</source>
        <translation>%1 wants at least one of %2.</translation>
    </message>
    <message>
        <source>%1 goes with one of %2, not with several.</source>
        <translation>%1 goes with one of %2, not with several.</translation>
    </message>
    <message>
        <source>%1 wants a whole number with %2, not &quot;%3&quot;.</source>
        <translation>%1 wants a whole number with %2, not &quot;%3&quot;.</translation>
    </message>
    <message>
        <source>%1 wants txt or ini, not &quot;%2&quot;.</source>
        <translation>%1 wants txt or ini, not &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>%1 - wants %2 txt or %2 ini.</source>
        <translation>%1 - wants %2 txt or %2 ini.</translation>
    </message>
    <message>
        <source>There is no phrase with the id %1.</source>
        <translation>There is no phrase with the id %1.</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>There is no database file %1.</source>
        <translation>There is no database file %1.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>The file %1 is not a phrase database: %2</source>
        <translation>The file %1 is not a phrase database: %2</translation>
    </message>
    <message>
        <source>it has no table %1</source>
        <translation>it has no table %1</translation>
    </message>
    <message>
        <source>Cannot count the use of phrase %1: %2</source>
        <translation>Cannot count the use of phrase %1: %2</translation>
    </message>
    <message>
        <source>Cannot store the phrase in %1: %2</source>
        <translation>Cannot store the phrase in %1: %2</translation>
    </message>
    <message>
        <source>Cannot change phrase %1: %2</source>
        <translation>Cannot change phrase %1: %2</translation>
    </message>
    <message>
        <source>Another window or program deleted phrase %1: nothing was stored.</source>
        <translation>Another window or program deleted phrase %1: nothing was stored.</translation>
    </message>
    <message>
        <source>Another window or program changed phrase %1: it no longer holds the value of --if-unchanged, and nothing was stored.</source>
        <translation>Another window or program changed phrase %1: it no longer holds the value of --if-unchanged, and nothing was stored.</translation>
    </message>
    <message>
        <source>There is no phrase with the id %1: nothing was deleted.</source>
        <translation>There is no phrase with the id %1: nothing was deleted.</translation>
    </message>
    <message>
        <source>Cannot delete the phrases: %1</source>
        <translation>Cannot delete the phrases: %1</translation>
    </message>
    <message>
        <source>Cannot store standard input in a temporary file: %1</source>
        <translation>Cannot store standard input in a temporary file: %1</translation>
    </message>
    <message>
        <source>Cannot write a temporary file for standard output: %1</source>
        <translation>Cannot write a temporary file for standard output: %1</translation>
    </message>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>Cannot create %1: %2</translation>
    </message>
    <message>
        <source>the template %1 cannot be read: %2</source>
        <translation>the template %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>the file already exists</source>
        <translation>the file already exists</translation>
    </message>
    <message>
        <source>Cannot read standard input.</source>
        <translation>Cannot read standard input.</translation>
    </message>
    <message>
        <source>Standard input is not UTF-8 text.</source>
        <translation>Standard input is not UTF-8 text.</translation>
    </message>
    <message>
        <source>Cannot write to standard output: %1</source>
        <translation>Cannot write to standard output: %1</translation>
    </message>
    <message>
        <source>Cannot connect to the display: no display is set.</source>
        <translation>Cannot connect to the display: no display is set.</translation>
    </message>
    <message>
        <source>Cannot connect to the display %1.</source>
        <translation>Cannot connect to the display %1.</translation>
    </message>
    <message numerus="yes">
        <source>The search text is too long: a search takes at most %n character(s).</source>
        <translation>
            <numerusform>The search text is too long: a search takes at most %n character.</numerusform>
            <numerusform>The search text is too long: a search takes at most %n characters.</numerusform>
        </translation>
    </message>
    <message>
        <source>it is a folder, not a regular file</source>
        <translation>it is a folder, not a regular file</translation>
    </message>
    <message>
        <source>it is a FIFO (named pipe), not a regular file</source>
        <translation>it is a FIFO (named pipe), not a regular file</translation>
    </message>
    <message>
        <source>it is a device, not a regular file</source>
        <translation>it is a device, not a regular file</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>the id column of the phrase table is declared &quot;%1&quot;, not as an INTEGER PRIMARY KEY that the database assigns</source>
        <translation>the id column of the phrase table is declared &quot;%1&quot;, not as an INTEGER PRIMARY KEY that the database assigns</translation>
    </message>
    <message>
        <source>%1 is a view, not a table</source>
        <translation>%1 is a view, not a table</translation>
    </message>
    <message>
        <source>no id is left for a new phrase: the phrase table has already used the largest one, %1</source>
        <translation>no id is left for a new phrase: the phrase table has already used the largest one, %1</translation>
    </message>
    <message>
        <source>The formatting of this phrase is too complex to be shown here, so only its text follows. The phrase can still be copied and exported.</source>
        <translation>The formatting of this phrase is too complex to be shown here, so only its text follows. The phrase can still be copied and exported.</translation>
    </message>
    <message numerus="yes">
        <source>%n phrase(s) will not read back as they are: the text format cannot carry some of their characters, such as TABs, carriage returns or leading line breaks. Export them as INI to keep them whole.</source>
        <translation>
            <numerusform>%n phrase will not read back as it is: the text format cannot carry some of its characters, such as TABs, carriage returns or leading line breaks. Export it as INI to keep it whole.</numerusform>
            <numerusform>%n phrases will not read back as they are: the text format cannot carry some of their characters, such as TABs, carriage returns or leading line breaks. Export them as INI to keep them whole.</numerusform>
        </translation>
    </message>
    <message>
        <source>Import a TXT, INI or phrase database (.db) file; - reads standard input.</source>
        <translation>Import a TXT, INI or phrase database (.db) file; - reads standard input.</translation>
    </message>
    <message>
        <source>Export phrases to a TXT file, INI for a name ending in .ini, a new phrase database for .db; - writes standard output.</source>
        <translation>Export phrases to a TXT file, INI for a name ending in .ini, a new phrase database for .db; - writes standard output.</translation>
    </message>
    <message>
        <source>Cannot open %1: the server wants a password; give it in the file ~/.pgpass or in the environment variable PGPASSWORD (%2)</source>
        <translation>Cannot open %1: the server wants a password; give it in the file ~/.pgpass or in the environment variable PGPASSWORD (%2)</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>%1

The password of %2 on %3:</source>
        <translation>%1

The password of %2 on %3:</translation>
    </message>
    <message>
        <source>Connect to a server…</source>
        <translation>Connect to a server…</translation>
    </message>
    <message>
        <source>Open the phrases a team keeps on a PostgreSQL server</source>
        <translation>Open the phrases a team keeps on a PostgreSQL server</translation>
    </message>
    <message>
        <source>Connect to a server</source>
        <translation>Connect to a server</translation>
    </message>
    <message>
        <source>localhost</source>
        <translation>localhost</translation>
    </message>
    <message>
        <source>default</source>
        <translation>default</translation>
    </message>
    <message>
        <source>your login name</source>
        <translation>your login name</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>&amp;Connect</translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation>&amp;Host:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>&amp;Database:</source>
        <translation>&amp;Database:</translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation>&amp;User:</translation>
    </message>
    <message>
        <source>The connection to the server is lost: %1. The phrases shown are kept; the next action connects again.</source>
        <translation type="vanished">The connection to the server is lost: %1. The phrases shown are kept; the next action connects again.</translation>
    </message>
    <message>
        <source>Connected to the server again.</source>
        <translation>Connected to the server again.</translation>
    </message>
    <message>
        <source>The server has no search indexes: each search reads every phrase.</source>
        <translation>The server has no search indexes: each search reads every phrase.</translation>
    </message>
    <message>
        <source>Qt&apos;s PostgreSQL driver is not installed: install the package libqt5sql5-psql.</source>
        <translation>Qt&apos;s PostgreSQL driver is not installed: install the package libqt5sql5-psql.</translation>
    </message>
    <message>
        <source>Qt&apos;s SQLite driver is not installed: install the package libqt5sql5-sqlite.</source>
        <translation>Qt&apos;s SQLite driver is not installed: install the package libqt5sql5-sqlite.</translation>
    </message>
    <message>
        <source>%1 is not a server address of the form postgresql://user@host:port/database</source>
        <translation>%1 is not a server address of the form postgresql://user@host:port/database</translation>
    </message>
    <message>
        <source>the server database has no phrase table, and it could not be made: %1</source>
        <translation>the server database has no phrase table, and it could not be made: %1</translation>
    </message>
    <message>
        <source>the phrase table lacks the columns %1</source>
        <translation>the phrase table lacks the columns %1</translation>
    </message>
    <message>
        <source>The file %1 is not a phrase database: %2.</source>
        <translation>The file %1 is not a phrase database: %2.</translation>
    </message>
    <message>
        <source>The file %1 is the database open: its phrases are already in it.</source>
        <translation>The file %1 is the database open: its phrases are already in it.</translation>
    </message>
    <message>
        <source>the template %1 is not a phrase database</source>
        <translation>the template %1 is not a phrase database</translation>
    </message>
    <message>
        <source>it is the database open</source>
        <translation>it is the database open</translation>
    </message>
    <message>
        <source>%1 is read-only for you: your role may read the phrases but not change them.</source>
        <translation>%1 is read-only for you: your role may read the phrases but not change them.</translation>
    </message>
    <message>
        <source>The connection to the server is lost; the phrases shown are kept, and the next action connects again. The server said: %1</source>
        <translation>The connection to the server is lost; the phrases shown are kept, and the next action connects again. The server said: %1</translation>
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
