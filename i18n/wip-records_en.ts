<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>orsan::ChartSettings</name>
    <message>
        <location filename="../chart/ChartSettings.cpp" line="87"/>
        <source>温度最小值（%1）必须小于温度最大值（%2）。</source>
        <translation>Temperature minimum (%1) must be below temperature maximum (%2).</translation>
    </message>
    <message>
        <location filename="../chart/ChartSettings.cpp" line="93"/>
        <source>加速度最大值</source>
        <translation>Acceleration maximum</translation>
    </message>
    <message>
        <location filename="../chart/ChartSettings.cpp" line="94"/>
        <source>速度最大值</source>
        <translation>Velocity maximum</translation>
    </message>
    <message>
        <location filename="../chart/ChartSettings.cpp" line="95"/>
        <source>位移最大值</source>
        <translation>Displacement maximum</translation>
    </message>
    <message>
        <location filename="../chart/ChartSettings.cpp" line="100"/>
        <source>%1（%2）必须大于坐标轴最小值 0。</source>
        <translation>%1 (%2) must be above the axis minimum 0.</translation>
    </message>
</context>
<context>
    <name>orsan::DatabaseLogDlg</name>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="34"/>
        <source>注意：因数据量大，表格里只显示最后记录的22条数据，之前记录的数据已存储在数据文件中，点击导出即可导出全部数据！，点击清空则会从新记录！</source>
        <translation>Note: the table shows only the last 22 rows; all rows are kept in the data file. Export writes them all; Clear starts a new record.</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="42"/>
        <source>文件 %1 MB</source>
        <translation>File %1 MB</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="61"/>
        <source>【长时记录】</source>
        <translation>[Recording]</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="62"/>
        <source>开始记录</source>
        <translation>Start</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="63"/>
        <source>停止记录</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="65"/>
        <source>记录时间从:</source>
        <translation>From:</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="67"/>
        <source>到:</source>
        <translation>to:</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="69"/>
        <source>已记录数据：</source>
        <translation>Rows:</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="71"/>
        <source>条</source>
        <translation>rows</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="73"/>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="73"/>
        <source>清除数据，重新记录!</source>
        <translation>Delete all rows and start a new record</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="75"/>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="75"/>
        <source>导出数据到文本文件中!</source>
        <translation>Export the data to a text file</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="181"/>
        <source>已恢复上次的记录</source>
        <translation>Recording resumed as before</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="258"/>
        <source>请确认是否清空所有已经记录的数据</source>
        <translation>Delete all recorded data?</translation>
    </message>
    <message>
        <location filename="../record/DatabaseLogDlg.cpp" line="284"/>
        <source>导出数据失败，未生成文件。
</source>
        <translation>Export failed, no file written.
</translation>
    </message>
</context>
<context>
    <name>orsan::DiskSpaceGuard</name>
    <message>
        <location filename="../record/DiskSpaceGuard.cpp" line="59"/>
        <source>磁盘空间不足：%1 所在磁盘只剩 %2 可用（需至少 %3），数据记录已暂停，已记录的数据完好。腾出空间后将自动继续记录。</source>
        <translation>Disk nearly full: the disk of %1 has only %2 free (at least %3 needed). Recording is paused; the recorded data are intact. Recording resumes by itself once space is freed.</translation>
    </message>
    <message>
        <location filename="../record/DiskSpaceGuard.cpp" line="67"/>
        <source>磁盘空间已恢复（%1 可用），数据记录已自动继续。</source>
        <translation>Disk space is back (%1 free); recording has resumed.</translation>
    </message>
</context>
<context>
    <name>orsan::HistoryChart</name>
    <message>
        <location filename="../chart/HistoryChart.h" line="20"/>
        <source>三轴振动温度历史趋势曲线</source>
        <translation>History Trend of Tri-Axis Vibration &amp; Temperature</translation>
    </message>
    <message>
        <location filename="../chart/HistoryChart.h" line="24"/>
        <source>该时间段内没有记录数据</source>
        <translation>No rows recorded in this period</translation>
    </message>
</context>
<context>
    <name>orsan::HistoryChartDlg</name>
    <message>
        <location filename="../record/HistoryChartDlg.cpp" line="51"/>
        <source>返回上一级</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <location filename="../record/HistoryChartDlg.cpp" line="52"/>
        <source>回到放大之前的时间范围</source>
        <translation>Back to the period before the zoom</translation>
    </message>
    <message>
        <location filename="../record/HistoryChartDlg.cpp" line="53"/>
        <source>曲线选择</source>
        <translation>Curves</translation>
    </message>
    <message>
        <location filename="../record/HistoryChartDlg.cpp" line="55"/>
        <source>导出图片</source>
        <translation>Export picture</translation>
    </message>
    <message>
        <location filename="../record/HistoryChartDlg.cpp" line="56"/>
        <source>导出当前曲线为PNG图片!</source>
        <translation>Export the chart as a PNG picture</translation>
    </message>
    <message>
        <location filename="../record/HistoryChartDlg.cpp" line="62"/>
        <source>单击显示最近的记录，拖动选择时间段放大</source>
        <translation>Click to show the nearest row; drag across a period to zoom in</translation>
    </message>
    <message>
        <location filename="../record/HistoryChartDlg.cpp" line="75"/>
        <source>读取历史数据失败。
</source>
        <translation>Reading the history failed.
</translation>
    </message>
    <message>
        <location filename="../record/HistoryChartDlg.cpp" line="88"/>
        <source>历史趋势曲线 - 传感器%1</source>
        <translation>History trend - sensor %1</translation>
    </message>
    <message>
        <location filename="../record/HistoryChartDlg.cpp" line="95"/>
        <source>传感器%1  %2 至 %3  共 %4 条记录</source>
        <translation>Sensor %1  %2 to %3  %4 rows</translation>
    </message>
</context>
<context>
    <name>orsan::LinkNotice</name>
    <message>
        <location filename="../chart/LinkNotice.cpp" line="14"/>
        <source>通信中断</source>
        <translation>Link lost</translation>
    </message>
    <message>
        <location filename="../chart/LinkNotice.cpp" line="17"/>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <location filename="../chart/LinkNotice.cpp" line="20"/>
        <source>轮询已暂停</source>
        <translation>Polling paused</translation>
    </message>
    <message>
        <location filename="../chart/LinkNotice.cpp" line="24"/>
        <source>
尚无有效读数</source>
        <translation>
No valid reading yet</translation>
    </message>
    <message>
        <location filename="../chart/LinkNotice.cpp" line="27"/>
        <source>
最后有效读数 </source>
        <translation>
Last valid reading </translation>
    </message>
</context>
<context>
    <name>orsan::PannelDlg</name>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="124"/>
        <source>【稳态结果】</source>
        <translation>[Values]</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="128"/>
        <source>加速度：</source>
        <translation>Acc.:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="128"/>
        <source>速   度：</source>
        <translation>Vel.:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="129"/>
        <source>位   移：</source>
        <translation>Disp.:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="129"/>
        <source>温   度：</source>
        <translation>Temp.:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="149"/>
        <source>【测点示意图】</source>
        <translation>[Sensor point]</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="163"/>
        <source>【Z轴频谱】</source>
        <translation>[Z orders]</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="164"/>
        <source>0.5X转速处：</source>
        <translation>At 0.5X:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="164"/>
        <source>1.0X转速处：</source>
        <translation>At 1.0X:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="165"/>
        <source>1.5X转速处：</source>
        <translation>At 1.5X:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="165"/>
        <source>2.0X转速处：</source>
        <translation>At 2.0X:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="166"/>
        <source>3.0X转速处：</source>
        <translation>At 3.0X:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="166"/>
        <source>4.0X转速处：</source>
        <translation>At 4.0X:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="167"/>
        <source>5.0X转速处：</source>
        <translation>At 5.0X:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="167"/>
        <source>6.0X转速处：</source>
        <translation>At 6.0X:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="178"/>
        <source>最高阶次：</source>
        <translation>Top order:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="180"/>
        <source>阶</source>
        <translation>X</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="181"/>
        <source>最高阶能量：</source>
        <translation>Top energy:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="184"/>
        <source>N当前转速：</source>
        <translation>Speed N:</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="203"/>
        <source>设置范围</source>
        <translation>Axes</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="203"/>
        <source>调整坐标轴范围!</source>
        <translation>Set the axis ranges</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="205"/>
        <source>显示选择</source>
        <translation>Curves</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="205"/>
        <source>设置曲线是否显示!</source>
        <translation>Choose the curves shown</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="207"/>
        <source>清空曲线</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="207"/>
        <source>清除缓存，重新绘制!</source>
        <translation>Clear the held samples and draw anew</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="209"/>
        <source>导出曲线</source>
        <translation>Picture</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="209"/>
        <source>导出当前曲线为PNG图片!</source>
        <translation>Export the chart as a PNG picture</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="211"/>
        <source>导出数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="211"/>
        <source>导出数据到文本文件中!</source>
        <translation>Export the data to a text file</translation>
    </message>
    <message>
        <location filename="../chart/PannelDlg.cpp" line="220"/>
        <source>振动烈度分区与机器类别，点击设置报警!</source>
        <translation>Vibration severity zone and machine class; click to set the alarms</translation>
    </message>
</context>
<context>
    <name>orsan::RecordDatabase</name>
    <message>
        <location filename="../record/DatabaseDiagnostic.cpp" line="25"/>
        <source>错误编号:0x</source>
        <translation>Error code:0x</translation>
    </message>
    <message>
        <location filename="../record/DatabaseDiagnostic.cpp" line="27"/>
        <source>
错误信息:</source>
        <translation>
Error message:</translation>
    </message>
    <message>
        <location filename="../record/DatabaseDiagnostic.cpp" line="28"/>
        <source>
错误源:</source>
        <translation>
Error source:</translation>
    </message>
    <message>
        <location filename="../record/DatabaseDiagnostic.cpp" line="29"/>
        <source>
错误描述:</source>
        <translation>
Error description:</translation>
    </message>
    <message>
        <location filename="../record/DatabaseDiagnostic.h" line="12"/>
        <source>Data  : 记录数据出错-&gt; </source>
        <translation>Data  : writing a row failed-&gt; </translation>
    </message>
    <message>
        <location filename="../record/DatabaseDiagnostic.h" line="14"/>
        <location filename="../record/DatabaseDiagnostic.h" line="20"/>
        <source>data: 获取数据出错-&gt; </source>
        <translation>data: reading rows failed-&gt; </translation>
    </message>
    <message>
        <location filename="../record/DatabaseDiagnostic.h" line="16"/>
        <source>data  : 删除数据出错-&gt; </source>
        <translation>data  : deleting rows failed-&gt; </translation>
    </message>
    <message>
        <location filename="../record/DatabaseDiagnostic.h" line="18"/>
        <source>data  : 查询数据出错-&gt; </source>
        <translation>data  : counting rows failed-&gt; </translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="98"/>
        <source>数据库文件不存在</source>
        <translation>The database file does not exist</translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="117"/>
        <source>DataRecord.db: 无法切换到 WAL 日志 (</source>
        <translation>DataRecord.db: cannot switch to the WAL journal (</translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="120"/>
        <source>)，文件可能只读</source>
        <translation>), the file may be read-only</translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="171"/>
        <source>数据库中没有记录表 data</source>
        <translation>The database has no record table data</translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="172"/>
        <source>其他表: </source>
        <translation>Other tables: </translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="194"/>
        <source>记录表 data 的列不符</source>
        <translation>The columns of record table data do not match</translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="195"/>
        <source>现有列: </source>
        <translation>Columns found: </translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="286"/>
        <location filename="../record/RecordDatabase.cpp" line="331"/>
        <location filename="../record/RecordDatabase.cpp" line="389"/>
        <location filename="../record/RecordDatabase.cpp" line="424"/>
        <source>数据库未打开</source>
        <translation>The database is not open</translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="287"/>
        <location filename="../record/RecordDatabase.cpp" line="332"/>
        <location filename="../record/RecordDatabase.cpp" line="390"/>
        <location filename="../record/RecordDatabase.cpp" line="425"/>
        <source>连接未打开或已关闭</source>
        <translation>The connection is not open or was closed</translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="293"/>
        <source>记录表 data 缺少列 Ok1…Ok6，且无法添加</source>
        <translation>Record table data lacks the columns Ok1…Ok6 and they cannot be added</translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="295"/>
        <source>数据库文件可能只读</source>
        <translation>The database file may be read-only</translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="340"/>
        <source>行数缺失</source>
        <translation>The row count is missing</translation>
    </message>
    <message>
        <location filename="../record/RecordDatabase.cpp" line="432"/>
        <source>数据库文件%1只能读取，无法写入，数据记录已停止!</source>
        <translation>The database file %1 is read-only; recording has stopped!</translation>
    </message>
    <message>
        <location filename="../record/RecordPager.cpp" line="79"/>
        <source>计数无结果</source>
        <translation>The count returned nothing</translation>
    </message>
    <message>
        <location filename="../record/RecordRetention.cpp" line="24"/>
        <source>删除过期记录失败：</source>
        <translation>Deleting expired rows failed: </translation>
    </message>
    <message>
        <location filename="../record/RecordRetention.cpp" line="35"/>
        <source>PRAGMA %1 无结果</source>
        <translation>PRAGMA %1 returned nothing</translation>
    </message>
    <message>
        <location filename="../record/SqliteStatement.cpp" line="22"/>
        <source>记录数据库未打开</source>
        <translation>The record database is not open</translation>
    </message>
</context>
<context>
    <name>orsan::RecordDatabaseShell</name>
    <message>
        <location filename="../record/RecordDatabaseShell.h" line="10"/>
        <source>数据库服务器连接失败,请检查服务器是否已经打开并保持网络连接好....!</source>
        <translation>Cannot open the record database. Check that its folder can be written.</translation>
    </message>
</context>
<context>
    <name>orsan::RecordExport</name>
    <message>
        <location filename="../record/RecordCsvExport.cpp" line="69"/>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write file %1: %2</translation>
    </message>
    <message>
        <location filename="../record/RecordCsvExport.cpp" line="89"/>
        <location filename="../record/RecordExport.cpp" line="81"/>
        <source>第 %1 行的毫秒值 %2 超出范围</source>
        <translation>Row %1: milliseconds %2 out of range</translation>
    </message>
    <message>
        <location filename="../record/RecordExport.cpp" line="29"/>
        <location filename="../record/SensorRangeReader.cpp" line="52"/>
        <location filename="../record/SensorRangeReader.cpp" line="69"/>
        <source>读取记录数据失败：</source>
        <translation>Reading the record failed: </translation>
    </message>
    <message>
        <location filename="../record/RecordExport.cpp" line="39"/>
        <location filename="../record/SensorRangeReader.cpp" line="47"/>
        <source>传感器编号 %1 无效（应为 1 到 6）</source>
        <translation>Sensor number %1 is not valid (1 to 6)</translation>
    </message>
    <message>
        <location filename="../record/RecordExport.cpp" line="42"/>
        <source>记录数据库未打开</source>
        <translation>The record database is not open</translation>
    </message>
    <message>
        <location filename="../record/RecordExport.cpp" line="69"/>
        <source>第 %1 行的时间 %2 超出范围</source>
        <translation>Row %1: time %2 out of range</translation>
    </message>
</context>
<context>
    <name>orsan::RecordHistoryMode</name>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="30"/>
        <source>该时间段内没有记录数据</source>
        <translation>No rows recorded in this period</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="81"/>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="83"/>
        <source>到</source>
        <translation>to</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="90"/>
        <source>查询</source>
        <translation>Show</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="92"/>
        <source>曲线</source>
        <translation>Chart</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="93"/>
        <source>画出一个传感器在该时间段内的趋势曲线</source>
        <translation>Plot one sensor&apos;s trend over this period</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="94"/>
        <source>区间导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="96"/>
        <source>导出一个传感器在该时间段内的数据</source>
        <translation>Export one sensor&apos;s rows of this period</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="98"/>
        <source>首页</source>
        <translation>First</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="100"/>
        <source>上页</source>
        <translation>Prev</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="102"/>
        <source>下页</source>
        <translation>Next</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="104"/>
        <source>末页</source>
        <translation>Last</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="109"/>
        <source>转到</source>
        <translation>Go to</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="110"/>
        <source>导出格式</source>
        <translation>Format</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="116"/>
        <source>按时间段查看、绘制和导出以前记录的数据</source>
        <translation>View, plot and export earlier rows by period</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="125"/>
        <source>最近1小时</source>
        <translation>Last hour</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="125"/>
        <source>最近24小时</source>
        <translation>Last 24 h</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="126"/>
        <source>最近7天</source>
        <translation>Last 7 days</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="126"/>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="128"/>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="129"/>
        <location filename="../record/RecordHistoryMode.cpp" line="138"/>
        <source>返回最新记录</source>
        <translation>Back to newest rows</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="129"/>
        <location filename="../record/RecordHistoryMode.cpp" line="138"/>
        <source>历史记录</source>
        <translation>History</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="177"/>
        <source>开始时间晚于结束时间，请重新选择时间段。</source>
        <translation>The start is later than the end; choose the period again.</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="222"/>
        <source>要转到的时间 %1 不在所选的时间段（%2 至 %3）内。</source>
        <translation>The time %1 is outside the chosen period (%2 to %3).</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="247"/>
        <source>读取记录数据失败</source>
        <translation>Reading the record failed</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="251"/>
        <source>第 %1/%2 页，共 %3 条</source>
        <translation>Page %1/%2, %3 rows</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="262"/>
        <source>读取记录数据失败。
</source>
        <translation>Reading the record failed.
</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="299"/>
        <source>选择要绘制曲线的传感器</source>
        <translation>Choose the sensor to plot</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="338"/>
        <source>，未生成文件。</source>
        <translation>, no file written.</translation>
    </message>
    <message>
        <location filename="../record/RecordHistoryMode.cpp" line="343"/>
        <source>导出数据失败，未生成文件。
</source>
        <translation>Export failed, no file written.
</translation>
    </message>
</context>
<context>
    <name>orsan::RecordPageText</name>
    <message>
        <location filename="../record/RecordPageText.cpp" line="12"/>
        <source>T温度</source>
        <translation>T Temp</translation>
    </message>
    <message>
        <location filename="../record/RecordPageText.cpp" line="13"/>
        <source>X加速度</source>
        <translation>X Acc</translation>
    </message>
    <message>
        <location filename="../record/RecordPageText.cpp" line="14"/>
        <source>X速度</source>
        <translation>X Vel</translation>
    </message>
    <message>
        <location filename="../record/RecordPageText.cpp" line="15"/>
        <source>X位移</source>
        <translation>X Disp</translation>
    </message>
    <message>
        <location filename="../record/RecordPageText.cpp" line="16"/>
        <source>Y加速度</source>
        <translation>Y Acc</translation>
    </message>
    <message>
        <location filename="../record/RecordPageText.cpp" line="17"/>
        <source>Y速度</source>
        <translation>Y Vel</translation>
    </message>
    <message>
        <location filename="../record/RecordPageText.cpp" line="18"/>
        <source>Y位移</source>
        <translation>Y Disp</translation>
    </message>
    <message>
        <location filename="../record/RecordPageText.cpp" line="19"/>
        <source>Z加速度</source>
        <translation>Z Acc</translation>
    </message>
    <message>
        <location filename="../record/RecordPageText.cpp" line="20"/>
        <source>Z速度</source>
        <translation>Z Vel</translation>
    </message>
    <message>
        <location filename="../record/RecordPageText.cpp" line="21"/>
        <source>Z位移</source>
        <translation>Z Disp</translation>
    </message>
    <message>
        <location filename="../record/RecordPageText.cpp" line="25"/>
        <source>记录编号</source>
        <translation>No.</translation>
    </message>
    <message>
        <location filename="../record/RecordPageText.cpp" line="26"/>
        <source>数据时间戳</source>
        <translation>Time stamp</translation>
    </message>
</context>
<context>
    <name>orsan::SetChartDlg</name>
    <message>
        <location filename="../chart/SetChartDlg.cpp" line="26"/>
        <source>温度最小值</source>
        <translation>Temp. min</translation>
    </message>
    <message>
        <location filename="../chart/SetChartDlg.cpp" line="27"/>
        <source>温度最大值</source>
        <translation>Temp. max</translation>
    </message>
    <message>
        <location filename="../chart/SetChartDlg.cpp" line="28"/>
        <source>加速度最大值</source>
        <translation>Acc. max</translation>
    </message>
    <message>
        <location filename="../chart/SetChartDlg.cpp" line="29"/>
        <source>速度最大值</source>
        <translation>Vel. max</translation>
    </message>
    <message>
        <location filename="../chart/SetChartDlg.cpp" line="30"/>
        <source>位移最大值</source>
        <translation>Disp. max</translation>
    </message>
    <message>
        <location filename="../chart/SetChartDlg.cpp" line="51"/>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <location filename="../chart/SetChartDlg.cpp" line="64"/>
        <source>设置曲线坐标轴系数</source>
        <translation>Chart axis limits</translation>
    </message>
    <message>
        <location filename="../chart/SetChartDlg.cpp" line="77"/>
        <source>“%1”请输入一个数字。</source>
        <translation>&quot;%1&quot;: enter a number.</translation>
    </message>
</context>
<context>
    <name>orsan::SetExpDlg</name>
    <message>
        <location filename="../record/SetExpDlg.cpp" line="37"/>
        <source>导出指定传感器数据</source>
        <translation>Export one sensor&apos;s data</translation>
    </message>
    <message>
        <location filename="../record/SetExpDlg.cpp" line="39"/>
        <source>传感器【%1】</source>
        <translation>Sensor %1</translation>
    </message>
</context>
<context>
    <name>orsan::SetShowDlg</name>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="16"/>
        <source>温度</source>
        <translation>Temp.</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="16"/>
        <source>加速度X</source>
        <translation>Acc. X</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="16"/>
        <source>加速度Y</source>
        <translation>Acc. Y</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="16"/>
        <source>加速度Z</source>
        <translation>Acc. Z</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="17"/>
        <source>速度X</source>
        <translation>Vel. X</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="17"/>
        <source>速度Y</source>
        <translation>Vel. Y</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="17"/>
        <source>速度Z</source>
        <translation>Vel. Z</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="17"/>
        <source>位移X</source>
        <translation>Disp. X</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="18"/>
        <source>位移Y</source>
        <translation>Disp. Y</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="18"/>
        <source>位移Z</source>
        <translation>Disp. Z</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="27"/>
        <source>显示曲线</source>
        <translation>Show</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="29"/>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <location filename="../chart/SetShowDlg.cpp" line="44"/>
        <source>曲线显示设置</source>
        <translation>Curves shown</translation>
    </message>
</context>
<context>
    <name>orsan::SettingParsDlg</name>
    <message>
        <location filename="../params/ParamActions.cpp" line="27"/>
        <source>“%1”超出范围，允许范围为 0 到 %2。未发送任何数据。</source>
        <translation>&quot;%1&quot; is out of range; allowed: 0 to %2. Nothing was sent.</translation>
    </message>
    <message>
        <location filename="../params/ParamActions.cpp" line="40"/>
        <source>请选择“%1”。未发送任何数据。</source>
        <translation>Choose &quot;%1&quot;. Nothing was sent.</translation>
    </message>
    <message>
        <location filename="../params/ParamActions.cpp" line="55"/>
        <source>“%1”（%2 Hz）高于“%3”（%4 Hz），请重新输入。未发送任何数据。</source>
        <translation>&quot;%1&quot; (%2 Hz) is above &quot;%3&quot; (%4 Hz); enter them again. Nothing was sent.</translation>
    </message>
    <message>
        <location filename="../params/ParamActions.h" line="53"/>
        <source>写入成功^_^</source>
        <translation>Written.</translation>
    </message>
    <message>
        <location filename="../params/ParamActions.h" line="55"/>
        <source>写入失败!_^</source>
        <translation>Write failed!</translation>
    </message>
    <message>
        <location filename="../params/ParamActions.h" line="57"/>
        <source>保存成功，断电重启后新的参数和IP将生效^_^</source>
        <translation>Saved. The new parameters and IP take effect after a power cycle.</translation>
    </message>
    <message>
        <location filename="../params/ParamActions.h" line="59"/>
        <source>保存失败!_^</source>
        <translation>Save failed!</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="11"/>
        <source>振动速度带通滤波器带通频带下限</source>
        <translation>Velocity band-pass lower edge</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="12"/>
        <source>振动速度带通滤波器带通频带上限</source>
        <translation>Velocity band-pass upper edge</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="13"/>
        <source>加速度带通滤波器带通频带下限</source>
        <translation>Acceleration band-pass lower edge</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="14"/>
        <source>加速度带通滤波器带通频带上限</source>
        <translation>Acceleration band-pass upper edge</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="15"/>
        <source>振动位移带通滤波器带通频带下限</source>
        <translation>Displacement band-pass lower edge</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="16"/>
        <source>振动位移带通滤波器带通频带上限</source>
        <translation>Displacement band-pass upper edge</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="17"/>
        <source>内圈特征系数</source>
        <translation>Inner race factor</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="18"/>
        <source>外圈特征系数</source>
        <translation>Outer race factor</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="19"/>
        <source>滚动体特征系数</source>
        <translation>Rolling element factor</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="20"/>
        <source>保持架特征系数</source>
        <translation>Cage factor</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="21"/>
        <source>叶片类特征系数</source>
        <translation>Blade factor</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="22"/>
        <source>传感器当前传动比系数</source>
        <translation>Transmission ratio</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="23"/>
        <source>人工输入的配置转速值</source>
        <translation>Manual speed</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="24"/>
        <source>额定参考转速</source>
        <translation>Rated speed</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="28"/>
        <source>网关</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="29"/>
        <source>子网掩码</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="31"/>
        <source>传感器IP</source>
        <translation>Sensor IP</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.cpp" line="94"/>
        <source>“%1”不是有效的数字，请重新输入。未发送任何数据。</source>
        <translation>&quot;%1&quot; is not a valid number; enter it again. Nothing was sent.</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.h" line="67"/>
        <source>传感器内部转速信号源</source>
        <translation>Speed source</translation>
    </message>
    <message>
        <location filename="../params/ParamFields.h" line="69"/>
        <source>转速自动识别工况模式</source>
        <translation>Speed detection mode</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="92"/>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="99"/>
        <source>设置滤波器参数（写入完毕后立即生效）</source>
        <translation>Filters (effective at once)</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="99"/>
        <source>地址：77....82</source>
        <translation>Reg. 77....82</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="101"/>
        <source>振动速度带通滤波器带通频带范围：</source>
        <translation>Velocity band-pass:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="102"/>
        <source>加速度带通滤波器带通频带范围：</source>
        <translation>Acceleration band-pass:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="103"/>
        <source>振动位移带通滤波器带通频带范围：</source>
        <translation>Displacement band-pass:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="113"/>
        <source>设置部件特征参数（写入完毕后立即生效）</source>
        <translation>Component factors (effective at once)</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="113"/>
        <source>地址：103....107</source>
        <translation>Reg. 103....107</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="116"/>
        <source>内圈特征系数：</source>
        <translation>Inner race:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="116"/>
        <source>外圈特征系数：</source>
        <translation>Outer race:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="116"/>
        <source>滚动体特征系数：</source>
        <translation>Rolling elem.:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="117"/>
        <source>保持架特征系数：</source>
        <translation>Cage:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="117"/>
        <source>叶片类特征系数：</source>
        <translation>Blades:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="122"/>
        <source>倍转频</source>
        <translation>x speed</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="125"/>
        <source>设置网络地址参数（写入完毕后需保存参数才能生效）</source>
        <translation>Network (effective after Save)</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="126"/>
        <source>地址：111....118</source>
        <translation>Reg. 111....118</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="133"/>
        <source>网关：</source>
        <translation>Gateway:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="134"/>
        <source>子网掩码：</source>
        <translation>Mask:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="135"/>
        <source>DNS：</source>
        <translation>DNS:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="136"/>
        <source>传感器IP：</source>
        <translation>Sensor IP:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="147"/>
        <source>设置传动比（写入完毕后需保存参数才能生效）</source>
        <translation>Transmission ratio (effective after Save)</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="147"/>
        <source>地址：120</source>
        <translation>Reg. 120</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="149"/>
        <source>传感器当前传动比系数：</source>
        <translation>Ratio:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="153"/>
        <source>设置传感器内部转速的来源（写入完毕后需保存参数才能生效）</source>
        <translation>Speed source (effective after Save)</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="154"/>
        <source>地址：130</source>
        <translation>Reg. 130</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="155"/>
        <source>传感器内部转速信号源：</source>
        <translation>Speed source:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="156"/>
        <source>自动识别</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="156"/>
        <source>人工输入</source>
        <translation>Manual</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="160"/>
        <source>速度源1：设置人工输入转速（写入完毕后立即生效）</source>
        <translation>Source 1: manual speed (effective at once)</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="160"/>
        <source>地址：67</source>
        <translation>Reg. 67</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="162"/>
        <source>人工输入的配置转速值：</source>
        <translation>Manual speed:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="167"/>
        <source>速度源2：设置自动识别转速的模式（写入完毕后立即生效）</source>
        <translation>Source 2: automatic detection (effective at once)</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="168"/>
        <source>地址：131,132</source>
        <translation>Reg. 131,132</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="169"/>
        <source>转速自动识别工况模式：</source>
        <translation>Detection mode:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="170"/>
        <source>工频</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="170"/>
        <source>变频</source>
        <translation>Variable</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="171"/>
        <source>额定参考转速:</source>
        <translation>Rated speed:</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="177"/>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="180"/>
        <source>（注意：以上参数写入后需点击保存，否则传感器断电重启后参数会恢复默认！）</source>
        <translation>(Note: press Save after writing, or the sensor returns to its defaults at the next power cycle!)</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="199"/>
        <source>设置传感器参数</source>
        <translation>Sensor parameters</translation>
    </message>
    <message>
        <location filename="../params/SettingParsDlg.cpp" line="203"/>
        <source>设置传感器参数,当前传感器IP为: %1.%2.%3.%4</source>
        <translation>Sensor parameters, sensor IP: %1.%2.%3.%4</translation>
    </message>
</context>
<context>
    <name>orsan::TrendChart</name>
    <message>
        <location filename="../chart/TrendChart.cpp" line="230"/>
        <source>无法写入文件 %1：曲线图尚未绘制</source>
        <translation>Cannot write file %1: the chart is not drawn yet</translation>
    </message>
    <message>
        <location filename="../chart/TrendPainting.cpp" line="192"/>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write file %1: %2</translation>
    </message>
    <message>
        <location filename="../chart/TrendPainting.cpp" line="197"/>
        <source>曲线图尚未绘制</source>
        <translation>the chart is not drawn yet</translation>
    </message>
    <message>
        <location filename="../chart/TrendPainting.cpp" line="203"/>
        <source>PNG编码失败</source>
        <translation>PNG encoding failed</translation>
    </message>
    <message>
        <location filename="../chart/TrendStyle.h" line="46"/>
        <source>三轴振动温度实时趋势曲线</source>
        <translation>Realtime Trend of Tri-Axis Vibration &amp; Temperature</translation>
    </message>
</context>
</TS>
