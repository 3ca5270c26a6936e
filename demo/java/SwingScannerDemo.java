import java.awt.BorderLayout;
import java.awt.FlowLayout;
import java.nio.charset.Charset;
import java.util.Arrays;
import java.util.concurrent.ExecutionException;

import javax.swing.BorderFactory;
import javax.swing.DefaultListModel;
import javax.swing.JButton;
import javax.swing.JFrame;
import javax.swing.JLabel;
import javax.swing.JList;
import javax.swing.JPanel;
import javax.swing.JScrollPane;
import javax.swing.JTextField;
import javax.swing.ListSelectionModel;
import javax.swing.SwingUtilities;
import javax.swing.SwingWorker;

import kavo.emulator.scanner.jni.Wedge;

/**
 * A scanner emulator with a window of its own: choose the application that
 * is to receive scans from the list, enter a barcode, press Scan.
 *
 * <pre>
 * java -cp kavo-emulator-scanner.jar:. SwingScannerDemo
 * </pre>
 *
 * <p>Every call of Wedge runs in a SwingWorker, never on the event thread: a
 * scan takes about 200 ms plus 50 ms per byte, longer while another program
 * types one, and every Wedge method waits behind a running scan. After a
 * scan the target keeps the focus; this window asks to come back to the
 * front, so that the next barcode can be entered at once.
 */
public final class SwingScannerDemo {

    /** Scanners send Windows-1252: one byte per character, 13 for Enter. */
    private static final Charset SCANNER_BYTES = Charset.forName("windows-1252");

    private final JFrame frame = new JFrame("Scanner");
    private final DefaultListModel<String> titles = new DefaultListModel<>();
    private final JList<String> windows = new JList<>(titles);
    private final JTextField barcode = new JTextField("4006381333931", 24);
    private final JButton refresh = new JButton("Refresh");
    private final JButton scan = new JButton("Scan");
    private final JLabel status = new JLabel("Choose the window that receives scans");

    private SwingScannerDemo() {
    }

    public static void main(String[] args) {
        SwingUtilities.invokeLater(() -> new SwingScannerDemo().open());
    }

    private void open() {
        windows.setSelectionMode(ListSelectionModel.SINGLE_SELECTION);
        windows.setVisibleRowCount(8);
        JPanel scanRow = new JPanel(new FlowLayout(FlowLayout.LEFT));
        scanRow.add(new JLabel("Barcode"));
        scanRow.add(barcode);
        scanRow.add(scan);
        scanRow.add(refresh);
        JPanel content = new JPanel(new BorderLayout(0, 6));
        content.setBorder(BorderFactory.createEmptyBorder(8, 8, 8, 8));
        content.add(new JScrollPane(windows), BorderLayout.CENTER);
        content.add(scanRow, BorderLayout.NORTH);
        content.add(status, BorderLayout.SOUTH);

        refresh.addActionListener(event -> refresh());
        scan.addActionListener(event -> scan());
        barcode.addActionListener(event -> scan());

        frame.setDefaultCloseOperation(JFrame.DISPOSE_ON_CLOSE);
        frame.setContentPane(content);
        frame.pack();
        frame.setVisible(true);
        refresh();
    }

    /** Lists the windows again, off the event thread. */
    private void refresh() {
        setBusy(true);
        new SwingWorker<String[], Void>() {
            @Override
            protected String[] doInBackground() {
                String[] listed = Wedge.getWindows();
                Wedge.destroy();
                return listed;
            }

            @Override
            protected void done() {
                setBusy(false);
                String chosen = windows.getSelectedValue();
                titles.clear();
                try {
                    for (String title : get()) {
                        if (!title.equals(frame.getTitle())) {
                            titles.addElement(title);
                        }
                    }
                } catch (InterruptedException | ExecutionException e) {
                    status.setText("Cannot list the windows: " + e.getCause());
                }
                windows.setSelectedValue(chosen, true);
            }
        }.execute();
    }

    /** Types the barcode and Enter into the chosen window, off the event thread. */
    private void scan() {
        String target = windows.getSelectedValue();
        if (target == null) {
            status.setText("Choose the window that receives scans");
            return;
        }
        byte[] bytes = (barcode.getText() + "\r").getBytes(SCANNER_BYTES);
        setBusy(true);
        status.setText("Scanning into \"" + target + "\"...");
        new SwingWorker<String, Void>() {
            /** Null when the scan arrived, else why not. */
            @Override
            protected String doInBackground() {
                // By title: windows may have opened or closed since the list
                // was shown, and each setWindow needs a list of its own.
                int index = Arrays.asList(Wedge.getWindows()).indexOf(target);
                if (index < 0 || !Wedge.setWindow(index)) {
                    return "\"" + target + "\" is no longer open";
                }
                return Wedge.sendText(bytes) ? null : Wedge.getLastErrorMessage();
            }

            @Override
            protected void done() {
                setBusy(false);
                // The target has the focus now: take it back for the next barcode.
                frame.toFront();
                barcode.requestFocusInWindow();
                barcode.selectAll();
                try {
                    String failure = get();
                    status.setText(failure == null ? "Scanned into \"" + target + "\"" : "Not scanned: " + failure);
                } catch (InterruptedException | ExecutionException e) {
                    status.setText("Not scanned: " + e.getCause());
                }
            }
        }.execute();
    }

    private void setBusy(boolean busy) {
        scan.setEnabled(!busy);
        refresh.setEnabled(!busy);
        barcode.setEnabled(!busy);
    }
}
