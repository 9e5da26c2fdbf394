<?xml version="1.0" encoding="UTF-8"?>
<!-- Copies a settings file with the children of every element in reverse
     order: areas, lists, list entries and values all move. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:template match="*">
    <xsl:copy>
      <xsl:copy-of select="@*"/>
      <xsl:apply-templates select="node()">
        <xsl:sort select="position()" data-type="number" order="descending"/>
      </xsl:apply-templates>
    </xsl:copy>
  </xsl:template>
  <xsl:template match="comment()|text()">
    <xsl:copy/>
  </xsl:template>
</xsl:stylesheet>
